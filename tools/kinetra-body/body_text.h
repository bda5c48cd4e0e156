// The readable text form of a body file: one field a line, every chunk and
// record spelled out, floats written so that they read back to the same bits.
// See README.md in this directory for the format.
#pragma once

#include "body_model.h"

#include <ostream>
#include <string>

namespace bodytool {

std::string WriteText(const TRawBody& body);
void WriteText(const TRawBody& body, std::ostream& out);
// False with "line N: message" when the text does not follow the format.
bool ParseText(const std::string& text, TRawBody& body, std::string& error);

// Bytes in double quotes, with every byte that is not printable ASCII (and
// the quote and backslash) escaped: safe to print on any terminal.
std::string Quote(const std::string& bytes);

} // namespace bodytool

// The readable text form of a body file: one field a line, every chunk and
// record spelled out, floats written so that they read back to the same bits.
// See README.md in this directory for the format.
#pragma once

#include <kinetra/body_records.h>

#include <ostream>
#include <string>

namespace bodytool {

std::string WriteText(const kinetra::TBodyRecords& body);
void WriteText(const kinetra::TBodyRecords& body, std::ostream& out);
// False with "line N: message" when the text does not follow the format.
bool ParseText(const std::string& text, kinetra::TBodyRecords& body, std::string& error);

} // namespace bodytool

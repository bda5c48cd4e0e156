// Body files as bytes: a lossless parse into TRawBody and the writer back.
// The parse checks the layout only (tags, counts, lengths); indices, groups
// and images are left to the engine's loader, so a file with bad indices can
// still be dumped and repaired.
#pragma once

#include "body_model.h"

#include <cstdint>
#include <string>
#include <vector>

namespace bodytool {

// False with a message naming the place when the bytes do not follow the layout.
bool ParseBinary(const std::vector<std::uint8_t>& bytes, TRawBody& body, std::string& error);
std::vector<std::uint8_t> WriteBinary(const TRawBody& body);

} // namespace bodytool

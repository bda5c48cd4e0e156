// Body files as bytes, read with the engine's own reader into its records,
// with the tool's messages for a file that breaks the layout. The engine's
// WriteBodyRecords writes them back.
#pragma once

#include <kinetra/body_records.h>

#include <cstdint>
#include <string>
#include <vector>

namespace bodytool {

// The whole of bytes as records, trailing bytes included. False with a message
// naming the place, e.g. "the file ends inside image 0 mask", when the bytes do
// not follow the layout; indices, groups and images are left to the loader, so
// a file with bad indices can still be dumped and repaired.
bool ParseBinary(const std::vector<std::uint8_t>& bytes, kinetra::TBodyRecords& body,
                 std::string& error);

} // namespace bodytool

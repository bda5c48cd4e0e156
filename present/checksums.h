// The checksums of PNG files and zlib streams, for the builds that have no
// zlib to compute them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace present {

// CRC-32 (the polynomial of PNG and zip) of size bytes, continuing from crc
// (0 to start).
std::uint32_t Crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t size);

// Adler-32 (zlib's) of size bytes, continuing from adler (1 to start).
std::uint32_t Adler32(std::uint32_t adler, const std::uint8_t* data, std::size_t size);

} // namespace present

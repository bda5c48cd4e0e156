// Limits that keep a hostile PNG from making the decoder allocate much.
#pragma once

#include <cstddef>
#include <cstdint>

namespace present {

constexpr std::uint32_t kPngMaxSide = 16384;
// Largest decoded picture, in bytes of RGBA (a 4096 x 4096 picture).
constexpr std::uint64_t kPngMaxPixelBytes = 64ull * 1024 * 1024;
// Largest ancillary chunk (text, profile, ...) libpng may allocate.
constexpr std::size_t kPngMaxChunkBytes = 8u * 1024 * 1024;
constexpr std::uint32_t kPngMaxAncillaryChunks = 1000;

} // namespace present

// Inflating zlib streams (a deflate stream in its two-byte header and Adler-32
// trailer), for builds that have no zlib: the browser's. Every byte is hostile
// until the whole stream has checked out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace present {

// Inflates the zlib stream that fills data[0 .. size) exactly into out,
// replacing its contents. False (out then holds a part at most) for a damaged header,
// a preset dictionary, a malformed block or code, a distance reaching before
// the start, a wrong Adler-32, bytes after the trailer, or output that would
// pass limit bytes: no more than limit bytes are ever allocated.
bool InflateZlib(const std::uint8_t* data, std::size_t size, std::size_t limit,
                 std::vector<std::uint8_t>& out);

} // namespace present

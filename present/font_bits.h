// The built-in font's 1-bit picture: 16 rows of 96 bytes, one byte per glyph and row.
#pragma once

#include <cstdint>

namespace present {
extern const std::uint8_t kBuiltinFontBits[1536];
} // namespace present

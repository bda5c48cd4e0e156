// Reading the built-in font's text form and writing it out as C++ source.
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <string>

namespace packfont {

constexpr int kFirstCode = 32;
constexpr int kGlyphCount = 96;
constexpr int kGlyphWidth = 8;
constexpr int kGlyphHeight = 16;
constexpr int kTableSize = kGlyphCount * kGlyphHeight;

// Row r of glyph j lives in byte r * 96 + j; bit k is pixel column k from the left.
using FontTable = std::array<std::uint8_t, kTableSize>;

struct TPackedFont {
    FontTable bits{};
    std::string error; // empty when the text was well formed
};

// Parses the whole text; on the first malformed line stops with an error of the
// form "<sourceName>:<line>: <what is wrong>".
TPackedFont PackFontText(std::istream& text, const std::string& sourceName);

// A translation unit defining present::kBuiltinFontBits with these bytes.
std::string FontTableSource(const FontTable& bits);

} // namespace packfont

// Bitmap fonts of fixed 8 x 16 cells, one image per glyph.
#pragma once

#include <present/image.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace present {

class TFont {
public:
    static constexpr int FirstCode = 32;
    static constexpr int GlyphCount = 96;
    static constexpr int CellWidth = 8;
    static constexpr int CellHeight = 16;
    static constexpr int Advance = CellWidth;

    // Builds the glyphs from a 1-bit picture of CellHeight rows of GlyphCount
    // bytes: byte j of row r is row r of glyph j, bit k is column k from the
    // left; a set bit is opaque white, a clear one transparent.
    explicit TFont(const std::uint8_t (&bits)[CellHeight * GlyphCount]);

    // The glyph image of a character code; Null for codes without one.
    ImageRef Glyph(int code) const;

private:
    std::vector<ImageRef> glyphs;
};

// The font every fresh drawing state starts with, shared by all of them.
std::shared_ptr<const TFont> BuiltinFont();

} // namespace present

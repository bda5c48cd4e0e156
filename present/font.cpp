#include "font.h"

#include "font_bits.h"

namespace present {

namespace {

ImageRef MakeGlyph(const std::uint8_t (&bits)[TFont::CellHeight * TFont::GlyphCount], int index) {
    auto glyph = std::make_shared<TImage>();
    glyph->width = TFont::CellWidth;
    glyph->height = TFont::CellHeight;
    glyph->flags = 0;
    TPixmap pixmap;
    pixmap.width = TFont::CellWidth;
    pixmap.height = TFont::CellHeight;
    pixmap.rgba.resize(static_cast<std::size_t>(TFont::CellWidth * TFont::CellHeight) * 4);
    for (int row = 0; row < TFont::CellHeight; ++row) {
        const std::uint8_t line = bits[row * TFont::GlyphCount + index];
        for (int column = 0; column < TFont::CellWidth; ++column) {
            const std::size_t at = static_cast<std::size_t>(row * TFont::CellWidth + column) * 4;
            // Clear pixels stay white too, so filtered sampling never darkens edges.
            pixmap.rgba[at] = 255;
            pixmap.rgba[at + 1] = 255;
            pixmap.rgba[at + 2] = 255;
            pixmap.rgba[at + 3] = ((line >> column) & 1) ? 255 : 0;
        }
    }
    glyph->pixmaps.push_back(std::move(pixmap));
    glyph->frames.resize(1);
    glyph->frameScreens.resize(1, 0);
    return glyph;
}

} // namespace

TFont::TFont(const std::uint8_t (&bits)[CellHeight * GlyphCount]) {
    glyphs.reserve(GlyphCount);
    for (int i = 0; i < GlyphCount; ++i) {
        glyphs.push_back(MakeGlyph(bits, i));
    }
}

ImageRef TFont::Glyph(int code) const {
    const int index = code - FirstCode;
    if (index < 0 || index >= GlyphCount) {
        return nullptr;
    }
    return glyphs[static_cast<std::size_t>(index)];
}

std::shared_ptr<const TFont> BuiltinFont() {
    static const auto font = std::make_shared<const TFont>(kBuiltinFontBits);
    return font;
}

} // namespace present

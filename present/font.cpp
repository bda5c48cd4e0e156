#include "font.h"

#include "font_bits.h"

namespace present {

namespace {

ImageRef MakeGlyph(const std::uint8_t (&bits)[TFont::kCellHeight * TFont::kGlyphCount], int index) {
    auto glyph = std::make_shared<TImage>();
    glyph->width = TFont::kCellWidth;
    glyph->height = TFont::kCellHeight;
    glyph->flags = TImageFlags::None;
    TPixmap pixmap;
    pixmap.width = TFont::kCellWidth;
    pixmap.height = TFont::kCellHeight;
    pixmap.rgba.resize(static_cast<std::size_t>(TFont::kCellWidth * TFont::kCellHeight) * 4);
    for (int row = 0; row < TFont::kCellHeight; ++row) {
        const std::uint8_t line = bits[row * TFont::kGlyphCount + index];
        for (int column = 0; column < TFont::kCellWidth; ++column) {
            const std::size_t at = static_cast<std::size_t>(row * TFont::kCellWidth + column) * 4;
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

TFont::TFont(const std::uint8_t (&bits)[kCellHeight * kGlyphCount]) {
    glyphs.reserve(kGlyphCount);
    for (int i = 0; i < kGlyphCount; ++i) {
        glyphs.push_back(MakeGlyph(bits, i));
    }
}

ImageRef TFont::Glyph(int code) const {
    const int index = code - kFirstCode;
    if (index < 0 || index >= kGlyphCount) {
        return nullptr;
    }
    return glyphs[static_cast<std::size_t>(index)];
}

std::shared_ptr<const TFont> BuiltinFont() {
    static const auto font = std::make_shared<const TFont>(kBuiltinFontBits);
    return font;
}

} // namespace present

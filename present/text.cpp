#include "drawing.h"
#include "font.h"

namespace present {

void DrawString(const std::string& text, float x, float y) {
    const TDrawState* state = DrawingTarget();
    if (!state || !state->font) {
        return;
    }
    const TDrawState& s = *state;
    float penX = x + s.originX + (-s.anchorX) * s.ix + (-s.anchorY) * s.iy;
    float penY = y + s.originY + (-s.anchorX) * s.jx + (-s.anchorY) * s.jy;
    for (const char ch : text) {
        const ImageRef glyph = s.font->Glyph(static_cast<unsigned char>(ch));
        if (!glyph) {
            continue;
        }
        DrawFrameAt(s, *glyph, 0, penX, penY, 0, 0);
        penX += TFont::kAdvance * s.ix;
        penY += TFont::kAdvance * s.jx;
    }
}

} // namespace present

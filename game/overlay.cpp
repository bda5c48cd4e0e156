#include "overlay.h"

#include <present/present.h>

namespace morvel {

namespace {

void DrawAt(const char* text, int x, int y) {
    present::DrawString(text, static_cast<float>(x), static_cast<float>(y));
}

} // namespace

void DrawOverlay(int screenWidth, int screenHeight) {
    const int creditX = screenWidth - kCreditRight;
    const int creditY = screenHeight - kCreditBottom;

    present::SetDrawColour(0, 0, 0);
    for (const TOverlayLine& line : kOverlayLines) {
        DrawAt(line.text, line.x + kShadowOffset, line.y + kShadowOffset);
    }
    DrawAt("Powered by Kinetra", creditX + kShadowOffset, creditY + kShadowOffset);

    for (const TOverlayLine& line : kOverlayLines) {
        present::SetDrawColour(line.red, line.green, line.blue);
        DrawAt(line.text, line.x, line.y);
    }
    present::SetDrawColour(255, 255, 255);
    DrawAt("Powered by", creditX, creditY);
    present::SetDrawColour(0, 255, 0);
    DrawAt("Kinetra", creditX + kCreditNameOffset, creditY);
}

} // namespace morvel

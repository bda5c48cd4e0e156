#include "scene.h"

#include <present/image.h>

#include <array>
#include <cmath>
#include <vector>

namespace present::testing {

namespace {

ImageRef MakeImage(int width, int height, int flags, auto texel) {
    auto image = std::make_shared<TImage>();
    image->width = width;
    image->height = height;
    image->flags = flags;
    TPixmap pixmap;
    pixmap.width = width;
    pixmap.height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::array<std::uint8_t, 4> t = texel(x, y);
            pixmap.rgba.insert(pixmap.rgba.end(), t.begin(), t.end());
        }
    }
    image->pixmaps.push_back(pixmap);
    image->frames.resize(1);
    image->frameScreens.resize(1);
    return image;
}

} // namespace

ImageRef MakeDiscImage(int flags) {
    return MakeImage(64, 48, flags, [](int x, int y) {
        const float dx = static_cast<float>(x) - 31.5f;
        const float dy = static_cast<float>(y) - 23.5f;
        const bool inside = dx * dx + dy * dy < 22.0f * 22.0f;
        return std::array<std::uint8_t, 4>{static_cast<std::uint8_t>(x * 4),
                                           static_cast<std::uint8_t>(255 - y * 5), 160,
                                           static_cast<std::uint8_t>(inside ? 255 : 0)};
    });
}

ImageRef MakeRampImage(int flags) {
    return MakeImage(64, 48, flags, [](int x, int y) {
        return std::array<std::uint8_t, 4>{255, static_cast<std::uint8_t>(y * 5), 40,
                                           static_cast<std::uint8_t>(x * 4)};
    });
}

void DrawScene() {
    SetClearColour(30, 40, 60);
    ClearScreen();

    // A concave polygon (an arrow head) and thick lines.
    SetBlendMode(BlendSolid);
    SetDrawColour(220, 180, 40);
    RendererFillPolygon({0, 0, 60, 20, 0, 40, 20, 20}, 0, 0, 10, 10);
    SetLineThickness(3.5f);
    SetDrawColour(250, 250, 250);
    RendererDrawLine(0, 0, 70, 30, 90, 10);
    RendererDrawLine(0, 30, 70, 0, 90, 10);
    SetLineThickness(1.0f);

    // Ellipses, one rotated and scaled.
    SetDrawColour(60, 200, 90);
    FillEllipse(180, 10, 60, 36);
    SetDrawRotation(30);
    SetDrawScale(1.5f, 0.75f);
    SetDrawColour(200, 60, 90);
    FillEllipse(270, 30, 40, 40);
    SetDrawRotation(0);
    SetDrawScale(1, 1);

    // Masked and alpha images, plain and transformed.
    static const ImageRef disc = MakeDiscImage(ImageMasked);
    static const ImageRef sharpDisc = MakeDiscImage(0);
    static const ImageRef ramp = MakeRampImage(ImageFiltered);
    SetDrawColour(255, 255, 255);
    SetBlendMode(BlendMasked);
    DrawImageFrame(disc, 10, 60, 0);
    SetDrawRotation(20);
    DrawImageFrame(sharpDisc, 100, 60, 0);
    SetDrawRotation(0);
    SetBlendMode(BlendAlpha);
    DrawImageFrame(ramp, 180, 60, 0);
    SetDrawScale(2, 2);
    SetImageAnchor(ramp, 32, 24);
    DrawImageFrame(ramp, 60, 170, 0);
    SetImageAnchor(ramp, 0, 0);
    SetDrawScale(1, 1);
    // A filtered cut-out enlarged: its edges are cut at one half, not blended.
    static const ImageRef smoothDisc = MakeDiscImage(ImageMasked + ImageFiltered);
    SetBlendMode(BlendMasked);
    SetDrawScale(1.2f, 1.2f);
    DrawImageFrame(smoothDisc, 242, 60, 0);
    SetDrawScale(1, 1);

    // Text, plain and rotated and scaled.
    SetBlendMode(BlendMasked);
    SetDrawColour(255, 255, 0);
    DrawString("Morvel 0123", 140, 120);
    SetDrawRotation(-10);
    SetDrawScale(2, 2);
    SetDrawColour(120, 220, 255);
    DrawString("Kinetra", 140, 160);
    SetDrawRotation(0);
    SetDrawScale(1, 1);

    // Each blend mode over the same ground.
    SetBlendMode(BlendSolid);
    SetDrawColour(100, 150, 200);
    RendererFillPolygon({0, 0, 150, 0, 150, 20, 0, 20}, 0, 0, 160, 210);
    const int modes[] = {BlendMasked, BlendSolid, BlendAlpha, BlendAdd, BlendMultiply};
    for (int i = 0; i < 5; ++i) {
        SetBlendMode(modes[i]);
        SetDrawColour(200, 90, 40);
        SetDrawAlpha(0.6f);
        RendererFillPolygon({0, 0, 24, 0, 24, 24, 0, 24}, 0, 0, 163.0f + 30.0f * i, 208);
        SetDrawAlpha(1.0f);
        DrawImageFrame(ramp, 163.0f + 30.0f * i, 180, 0);
    }
    SetBlendMode(BlendMasked);
    SetDrawColour(255, 255, 255);
}

} // namespace present::testing

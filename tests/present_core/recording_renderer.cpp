#include "recording_renderer.h"

namespace present::testing {

bool TRecordingRenderer::Open(TScreen& screen) {
    (void)screen;
    ++opens;
    return !failOpen;
}

void TRecordingRenderer::Clear(int red, int green, int blue) {
    clears.push_back(red << 16 | green << 8 | blue);
}

void TRecordingRenderer::SetTransform(float ix, float iy, float jx, float jy) {
    transform = {ix, iy, jx, jy};
}

void TRecordingRenderer::SetColour(int red, int green, int blue, float alpha) {
    colour = {static_cast<float>(red), static_cast<float>(green), static_cast<float>(blue), alpha};
}

void TRecordingRenderer::FillTriangles(const TVertex* vertices, int count, const TPaint& paint) {
    draws.push_back(
        {std::vector<TVertex>(vertices, vertices + count), paint, nullptr, TImageFlags::None});
}

void TRecordingRenderer::DrawTexturedTriangles(TRendererTexture& texture, TImageFlags imageFlags,
                                               const TVertex* vertices, int count,
                                               const TPaint& paint) {
    draws.push_back(
        {std::vector<TVertex>(vertices, vertices + count), paint, &texture, imageFlags});
}

TextureRef TRecordingRenderer::MakeTexture(const TPixmap& frame, TImageFlags imageFlags) {
    (void)imageFlags;
    if (frame.width <= 0 || frame.height <= 0) {
        return nullptr;
    }
    ++texturesMade;
    auto texture = std::make_shared<TRecordedTexture>();
    texture->frameWidth = frame.width;
    texture->frameHeight = frame.height;
    texture->textureWidth = NextPowerOfTwo(frame.width);
    texture->textureHeight = NextPowerOfTwo(frame.height);
    return texture;
}

bool TRecordingRenderer::ReadPixels(TPixmap& out) {
    out = TPixmap{};
    return false;
}

void TRecordingRenderer::Forget() {
    clears.clear();
    presents.clear();
    blendModes.clear();
    draws.clear();
    pointerMoves.clear();
}

void PresentTest::SetUp() {
    platform = std::make_shared<THeadlessPlatform>(1000000);
    SetPlatform(platform);
    renderer = std::make_shared<TRecordingRenderer>();
    SelectRenderer(renderer, TScreenFlags::DoubleBuffered);
}

void PresentTest::TearDown() {
    CloseScreen();
    SelectRenderer(nullptr, present::TScreenFlags::None);
    SetPlatform(nullptr);
}

ScreenRef PresentTest::OpenWindow() {
    ScreenRef screen = OpenScreen(400, 300, 0, 60, present::TScreenFlags::None);
    renderer->Forget();
    return screen;
}

} // namespace present::testing

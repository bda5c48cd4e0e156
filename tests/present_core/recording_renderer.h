// A renderer that draws nothing and remembers every call, and a fixture that
// puts it behind a screen on the headless platform.
#pragma once

#include "renderer.h"
#include "screen.h"
#include <present/headless.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace present::testing {

class TRecordedTexture : public TRendererTexture {};

struct TRecordedDraw {
    std::vector<TVertex> vertices;
    TPaint paint;
    const TRendererTexture* texture = nullptr; // nullptr for untextured fills
    int imageFlags = 0;
};

class TRecordingRenderer : public TRenderer {
public:
    const char* Name() const override { return "recording"; }
    bool Open(TScreen& screen) override;
    void Close() override { ++closes; }
    void Clear(int red, int green, int blue) override;
    void Present(bool vsync) override { presents.push_back(vsync); }
    void SetBlendMode(int mode) override { blendModes.push_back(mode); }
    void SetTransform(float ix, float iy, float jx, float jy) override;
    void SetColour(int red, int green, int blue, float alpha) override;
    void FillTriangles(const TVertex* vertices, int count, const TPaint& paint) override;
    void DrawTexturedTriangles(TRendererTexture& texture, int imageFlags, const TVertex* vertices,
                               int count, const TPaint& paint) override;
    TextureRef MakeTexture(const TPixmap& frame, int imageFlags) override;
    bool ReadPixels(TPixmap& out) override;
    void MovePointer(int x, int y) override { pointerMoves.push_back({x, y}); }

    void Forget(); // drops everything recorded so far

    bool failOpen = false;
    int opens = 0;
    int closes = 0;
    int texturesMade = 0;
    std::vector<int> clears; // packed 0xRRGGBB
    std::vector<bool> presents;
    std::vector<int> blendModes;
    std::vector<float> transform; // last SetTransform
    std::vector<float> colour;    // last SetColour
    std::vector<TRecordedDraw> draws;
    std::vector<std::pair<int, int>> pointerMoves;
};

// Each test starts on a fresh headless platform with the recording renderer
// selected and no screen open, and leaves no screen open behind it.
class PresentTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Opens a 400 x 300 window at 60 Hz and forgets its set-up calls.
    ScreenRef OpenWindow();

    std::shared_ptr<THeadlessPlatform> platform;
    std::shared_ptr<TRecordingRenderer> renderer;
};

} // namespace present::testing

#include "recording_renderer.h"

namespace present::testing {
namespace {

using DrawStateTest = PresentTest;

// Fills the triangle (1,0) (0,1) (0,0) and returns where its corners landed.
std::vector<TVertex> PlaceUnitTriangle(TRecordingRenderer& renderer, float tx, float ty) {
    renderer.draws.clear();
    RendererFillPolygon({1, 0, 0, 1, 0, 0}, 0, 0, tx, ty);
    return renderer.draws.empty() ? std::vector<TVertex>{} : renderer.draws[0].vertices;
}

const TVertex* Find(const std::vector<TVertex>& vertices, float x, float y) {
    for (const TVertex& v : vertices) {
        if (std::abs(v.x - x) < 1e-5f && std::abs(v.y - y) < 1e-5f) {
            return &v;
        }
    }
    return nullptr;
}

TEST_F(DrawStateTest, PositiveRotationTurnsClockwiseAndScaleActsBeforeIt) {
    OpenWindow();
    SetDrawRotation(90);
    SetDrawScale(2, 3);
    const TDrawState& state = State();
    EXPECT_NEAR(state.ix, 0, 1e-6);
    EXPECT_FLOAT_EQ(state.iy, -3);
    EXPECT_FLOAT_EQ(state.jx, 2);
    EXPECT_NEAR(state.jy, 0, 1e-6);

    // With y pointing down, the local x axis turning onto +y is clockwise on screen.
    const auto placed = PlaceUnitTriangle(*renderer, 100, 50);
    ASSERT_EQ(placed.size(), 3u);
    EXPECT_NE(Find(placed, 100, 52), nullptr); // local (1, 0)
    EXPECT_NE(Find(placed, 97, 50), nullptr);  // local (0, 1)
    EXPECT_NE(Find(placed, 100, 50), nullptr); // local (0, 0)

    ASSERT_EQ(renderer->transform.size(), 4u);
    EXPECT_EQ(renderer->transform[1], state.iy);
    EXPECT_EQ(renderer->transform[2], state.jx);
}

TEST_F(DrawStateTest, MatrixUsesSineAndCosineRoundedToFloat) {
    OpenWindow();
    SetDrawScale(1.5f, 0.5f);
    SetDrawRotation(30);
    const auto s = static_cast<float>(SinDeg(30));
    const auto c = static_cast<float>(CosDeg(30));
    EXPECT_EQ(State().ix, c * 1.5f);
    EXPECT_EQ(State().iy, -s * 0.5f);
    EXPECT_EQ(State().jx, s * 1.5f);
    EXPECT_EQ(State().jy, c * 0.5f);
    EXPECT_EQ(GetDrawRotation(), 30.0f);
    float sx = 0, sy = 0;
    GetDrawScale(sx, sy);
    EXPECT_EQ(sx, 1.5f);
    EXPECT_EQ(sy, 0.5f);
}

TEST_F(DrawStateTest, ColoursAndAlphaAreClampedAndMirrored) {
    OpenWindow();
    SetDrawColour(300, -5, 128);
    EXPECT_EQ(State().red, 255);
    EXPECT_EQ(State().green, 0);
    EXPECT_EQ(State().blue, 128);
    SetDrawAlpha(2.5f);
    EXPECT_EQ(State().alpha, 1.0f);
    SetDrawAlpha(-1);
    EXPECT_EQ(State().alpha, 0.0f);
    SetDrawAlpha(0.25f);
    EXPECT_EQ(renderer->colour, (std::vector<float>{255, 0, 128, 0.25f}));

    SetClearColour(-1, 127, 999);
    ClearScreen();
    EXPECT_EQ(renderer->clears, std::vector<int>{0x007FFF});
}

TEST_F(DrawStateTest, SettingTheCurrentBlendModeTouchesNothing) {
    OpenWindow();
    SetBlendMode(TBlendMode::Masked);
    EXPECT_TRUE(renderer->blendModes.empty());
    SetBlendMode(TBlendMode::Alpha);
    SetBlendMode(TBlendMode::Alpha);
    SetBlendMode(static_cast<present::TBlendMode>(0));
    SetBlendMode(static_cast<present::TBlendMode>(6));
    EXPECT_EQ(renderer->blendModes, std::vector<TBlendMode>{TBlendMode::Alpha});

    SetDrawColour(10, 20, 30);
    FillEllipse(0, 0, 10, 10);
    ASSERT_EQ(renderer->draws.size(), 1u);
    const TPaint& paint = renderer->draws[0].paint;
    EXPECT_EQ(paint.blendMode, TBlendMode::Alpha);
    EXPECT_EQ(paint.red, 10);
    EXPECT_EQ(paint.green, 20);
    EXPECT_EQ(paint.blue, 30);
    EXPECT_EQ(paint.alpha, 1.0f);
}

TEST_F(DrawStateTest, OpenScreenStartsFromDefaultsAndHandsThemToTheRenderer) {
    OpenWindow();
    SetDrawColour(1, 2, 3);
    SetClearColour(9, 9, 9);
    SetBlendMode(TBlendMode::Add);
    SetLineThickness(5);
    SetDrawRotation(45);
    SetDrawScale(2, 2);
    SetDrawOrigin(10, 20);
    renderer->Forget();
    const int framesBefore = PresentedFrames();

    OpenScreen(320, 200, 0, 60, present::TScreenFlags::None);
    const TDrawState& state = State();
    EXPECT_EQ(state.red + state.green + state.blue, 3 * 255);
    EXPECT_EQ(state.blendMode, TBlendMode::Masked);
    EXPECT_EQ(state.clearRed + state.clearGreen + state.clearBlue, 0);
    EXPECT_EQ(state.lineWidth, 1.0f);
    EXPECT_EQ(state.rotation, 0.0f);
    EXPECT_EQ(state.ix, 1.0f);
    EXPECT_EQ(state.iy, 0.0f);
    EXPECT_EQ(state.originX, 0.0f);
    EXPECT_EQ(state.viewportWidth, 320);
    EXPECT_EQ(state.viewportHeight, 200);
    EXPECT_NE(state.font, nullptr);

    EXPECT_EQ(renderer->blendModes, std::vector<TBlendMode>{TBlendMode::Masked});
    EXPECT_EQ(renderer->transform, (std::vector<float>{1, 0, 0, 1}));
    EXPECT_EQ(renderer->colour, (std::vector<float>{255, 255, 255, 1}));
    // Both buffers start black, without waiting and without counting as frames.
    EXPECT_EQ(renderer->clears, (std::vector<int>{0, 0}));
    EXPECT_EQ(renderer->presents, (std::vector<bool>{false, false}));
    EXPECT_EQ(PresentedFrames(), framesBefore);
}

TEST_F(DrawStateTest, SettingsWithoutAScreenAreHarmlessAndDoNotCarryOver) {
    SetDrawColour(1, 2, 3);
    SetBlendMode(TBlendMode::Add);
    FillEllipse(0, 0, 10, 10);
    DrawString("x", 0, 0);
    ClearScreen();
    EXPECT_TRUE(renderer->draws.empty());
    EXPECT_TRUE(renderer->blendModes.empty());

    OpenWindow();
    EXPECT_EQ(State().red, 255);
    EXPECT_EQ(State().blendMode, TBlendMode::Masked);
}

} // namespace
} // namespace present::testing

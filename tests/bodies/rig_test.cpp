// Rigs: rotation from the constraint's direction plus the angle, placement of
// the anchor on the mass, drawing order.
#include "body_bytes.h"
#include <kinetra/adv_body.h>
#include <kinetra/kinetra.h>
#include <present/headless.h>
#include <present/present.h>

#include <gtest/gtest.h>

namespace {

using namespace kinetra;

TEST(RigRotation, ConstraintDirectionPlusAngleOrAngleAlone) {
    auto top = TMass::Create(0, 0, 1, 1, 0, 0);
    auto below = TMass::Create(0, 10, 1, 1, 0, 0);
    auto down = TConstraint::Create(top, below, 0, 1);
    EXPECT_EQ(TRig::Create(nullptr, top, down, -90)->Rotation(), 0.0f);
    auto fixedTurn = TRig::Create(nullptr, top, nullptr, 30);
    EXPECT_EQ(fixedTurn->name, "Rig");
    EXPECT_EQ(fixedTurn->Rotation(), 30.0f);
    below->SetPosition(-10, 0);
    EXPECT_EQ(fixedTurn->Rotation(), 30.0f);
    EXPECT_EQ(TRig::Create(nullptr, top, down, 10)->Rotation(), 190.0f);
}

class RigDrawTest : public testing::Test {
protected:
    void SetUp() override {
        present::SetPlatform(std::make_shared<present::THeadlessPlatform>(1000));
        present::InitPresent();
        ASSERT_TRUE(present::OpenScreen(64, 64, 0, 0, 0));
        present::ClearScreen();
    }
    void TearDown() override { present::CloseScreen(); }

    // A solid 8 x 2 picture with its anchor on the middle of its left edge.
    present::ImageRef Bar(std::uint8_t r, std::uint8_t g, std::uint8_t b) const {
        present::TPixmap pixmap;
        pixmap.width = 8;
        pixmap.height = 2;
        for (int i = 0; i < 16; ++i) {
            pixmap.rgba.insert(pixmap.rgba.end(), {r, g, b, 255});
        }
        const std::string path = scratch.Path(std::to_string(r) + std::to_string(g) + ".png");
        EXPECT_TRUE(present::SavePng(path, pixmap));
        auto image = present::LoadImageFile(path, 0);
        EXPECT_TRUE(image);
        present::SetImageAnchor(image, 0, 1);
        return image;
    }

    static std::array<int, 3> Pixel(int x, int y) {
        present::TPixmap screen;
        EXPECT_TRUE(present::CaptureScreen(screen));
        const auto* p = &screen.rgba[static_cast<std::size_t>((y * screen.width + x) * 4)];
        return {p[0], p[1], p[2]};
    }

    bodytest::TScratchDir scratch;
};

TEST_F(RigDrawTest, ImageTurnsAboutItsAnchorOnTheMassAndRotationStaysSet) {
    auto mass = TMass::Create(20, 20, 1, 1, 0, 0);
    auto rig = TRig::Create(Bar(255, 0, 0), mass, nullptr, 90);
    rig->Draw();
    EXPECT_EQ(present::GetDrawRotation(), 90.0f);
    // Turned clockwise by 90 degrees, the bar hangs down from the mass.
    EXPECT_EQ(Pixel(20, 25), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(Pixel(25, 20), (std::array<int, 3>{0, 0, 0}));

    rig->SetImage(Bar(0, 255, 0));
    mass->SetPosition(40, 40);
    rig->Draw();
    EXPECT_EQ(Pixel(40, 45), (std::array<int, 3>{0, 255, 0}));
}

TEST_F(RigDrawTest, BodyDrawsItsRigsInOrderLaterOverEarlier) {
    auto a = TMass::Create(10, 30, 1, 1, 0, 0);
    auto b = TMass::Create(30, 30, 1, 1, 0, 0);
    TAdvBody body;
    body.masses = {a, b};
    body.constraints = {TConstraint::Create(a, b, 0, 1)};
    body.rigs = {TRig::Create(Bar(255, 0, 0), a, body.constraints[0], 0), nullptr,
                 TRig::Create(Bar(0, 0, 255), a, nullptr, 0)};
    body.Draw();
    EXPECT_EQ(Pixel(14, 30), (std::array<int, 3>{0, 0, 255}));
    EXPECT_EQ(present::GetDrawRotation(), 0.0f);

    // The constraint now points straight down: the first rig follows it.
    b->SetPosition(10, 50);
    present::ClearScreen();
    body.rigs.resize(1);
    body.Draw();
    EXPECT_EQ(Pixel(10, 34), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(Pixel(14, 30), (std::array<int, 3>{0, 0, 0}));
}

} // namespace

#include "input.h"
#include "mode_menu.h"
#include <present/headless.h>
#include <present/present.h>

#include <gtest/gtest.h>

namespace morvel {
namespace {

class MenuKeys : public ::testing::Test {
protected:
    void SetUp() override {
        present::SetPlatform(std::make_shared<present::THeadlessPlatform>(1000000));
        present::InitPresent();
        ASSERT_NE(present::OpenScreen(400, 300, 0, 60, 0), nullptr);
    }
    void TearDown() override { present::CloseScreen(); }

    static void Press(int key) {
        present::KeyDownEvent(key);
        present::KeyUpEvent(key);
    }
};

TEST_F(MenuKeys, DefaultIsTheDirectXFullScreen1024x768) {
    TModeChoice choice;
    ReadMenuKeys(choice);
    EXPECT_EQ(choice.mode, 3);
    EXPECT_EQ(choice.width, 1024);
    EXPECT_EQ(choice.height, 768);
    EXPECT_EQ(choice.depth, 32);
    EXPECT_FALSE(choice.openGL);
}

TEST_F(MenuKeys, ReadingOrderDecidesNotPressingOrder) {
    TModeChoice choice;
    Press('G');
    Press('X');
    Press('4');
    Press('2');
    ReadMenuKeys(choice);
    EXPECT_TRUE(choice.openGL);
    EXPECT_EQ(choice.mode, 4);
    EXPECT_EQ(choice.width, 1280);
    EXPECT_EQ(choice.depth, 32);

    // Counts were consumed: the next pass changes nothing.
    Press('1');
    ReadMenuKeys(choice);
    EXPECT_EQ(choice.mode, 1);
    EXPECT_EQ(choice.depth, 0);
    EXPECT_TRUE(choice.openGL);
    Press('X');
    ReadMenuKeys(choice);
    EXPECT_FALSE(choice.openGL);
}

// With only a controller: the d-pad steps through every mode, stopping at the
// ends, and picks either renderer; the keys are read first.
TEST_F(MenuKeys, TheDPadReachesEveryModeAndRenderer) {
    TModeChoice choice;
    Press(present::key::PadUp);
    Press(present::key::PadRight);
    ReadMenuKeys(choice);
    EXPECT_EQ(choice.mode, 2);
    EXPECT_EQ(choice.depth, 32);
    EXPECT_TRUE(choice.openGL);
    Press(present::key::PadUp);
    Press(present::key::PadUp);
    Press(present::key::PadLeft);
    ReadMenuKeys(choice);
    EXPECT_EQ(choice.mode, 1);
    EXPECT_EQ(choice.depth, 0);
    EXPECT_FALSE(choice.openGL);
    Press('4');
    Press(present::key::PadDown);
    ReadMenuKeys(choice);
    EXPECT_EQ(choice.mode, 4);
    EXPECT_EQ(choice.width, 1280);
    Press('1');
    Press(present::key::PadDown);
    Press(present::key::PadDown);
    ReadMenuKeys(choice);
    EXPECT_EQ(choice.mode, 3);
    EXPECT_EQ(choice.width, 1024);
}

TEST(MenuPulse, SwingsBetweenRedAndYellowOnceEvery1440Ms) {
    EXPECT_EQ(PulseGreen(0), 127);
    EXPECT_EQ(PulseGreen(360), 254);
    EXPECT_EQ(PulseGreen(1080), 0);
    // Truncated toward zero: sin 30 degrees gives just under 127 * 0.5 + 127 = 190.5.
    EXPECT_EQ(PulseGreen(120), 190);
    EXPECT_EQ(PulseGreen(1440 + 120), 190);
}

TEST(MenuChoice, OnlyModesOneToFourAreSelectable) {
    TModeChoice choice;
    SelectMode(choice, 0);
    SelectMode(choice, 5);
    EXPECT_EQ(choice.mode, 3);
    SelectMode(choice, 2);
    EXPECT_EQ(choice.mode, 2);
    EXPECT_EQ(choice.width, 800);
    EXPECT_EQ(choice.height, 600);
    EXPECT_EQ(choice.depth, 32);
}

} // namespace
} // namespace morvel

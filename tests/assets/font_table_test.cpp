// The packed built-in font as the program links it.
#include "font_bits.h"

#include <gtest/gtest.h>

namespace {

std::uint8_t Row(char c, int row) {
    return present::kBuiltinFontBits[row * 96 + (static_cast<unsigned char>(c) - 32)];
}

bool Pixel(char c, int column, int row) {
    return (Row(c, row) >> column) & 1;
}

TEST(BuiltinFont, SpaceIsEmptyAndEveryOtherPrintableGlyphHasPixels) {
    for (int row = 0; row < 16; ++row) {
        EXPECT_EQ(Row(' ', row), 0) << "row " << row;
    }
    for (int code = 33; code <= 127; ++code) {
        int set = 0;
        for (int row = 0; row < 16; ++row) {
            set += Row(static_cast<char>(code), row) != 0;
        }
        EXPECT_GT(set, 0) << "code " << code;
    }
}

TEST(BuiltinFont, ColumnsCountFromTheLeftInLowBitsFirst) {
    // The bar is two pixels wide at columns 3 and 4: bits 3 and 4.
    for (int row = 2; row <= 13; ++row) {
        EXPECT_EQ(Row('|', row), 0x18) << "row " << row;
    }
    EXPECT_EQ(Row('|', 0), 0);
    EXPECT_EQ(Row('|', 15), 0);
    // A left-leaning slash: its lowest pixel is at the far left, its highest at the right.
    EXPECT_TRUE(Pixel('/', 0, 11));
    EXPECT_FALSE(Pixel('/', 6, 11));
    EXPECT_TRUE(Pixel('/', 6, 4));
    EXPECT_FALSE(Pixel('/', 0, 4));
    EXPECT_EQ(Row('_', 14), 0xff);
}

TEST(BuiltinFont, LettersShareABaselineAndDescendersGoBelowIt) {
    for (char c : {'A', 'H', 'Z', 'a', 'x', 'o'}) {
        EXPECT_NE(Row(c, 11), 0) << c;
        EXPECT_EQ(Row(c, 12), 0) << c;
    }
    for (char c : {'g', 'j', 'p', 'q', 'y'}) {
        EXPECT_NE(Row(c, 13), 0) << c;
    }
    // Capitals are taller than small letters.
    EXPECT_NE(Row('H', 2), 0);
    EXPECT_EQ(Row('x', 2), 0);
}

} // namespace

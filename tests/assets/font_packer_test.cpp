// The packer that turns the font's text form into the table.
#include "font_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string Glyph(int code, const std::string& rows) {
    return std::to_string(code) + " x\n" + rows;
}

std::string EmptyRows(int count) {
    std::string rows;
    for (int i = 0; i < count; ++i) {
        rows += "........\n";
    }
    return rows;
}

// A whole font of empty glyphs, with `replace` substituted for glyph `code`.
std::string FontWith(int code, const std::string& replace) {
    std::string text = "; a comment\n\n";
    for (int c = 32; c < 128; ++c) {
        text += c == code ? replace : Glyph(c, EmptyRows(16));
        text += "\n";
    }
    return text;
}

packfont::TPackedFont Pack(const std::string& text) {
    std::istringstream in(text);
    return packfont::PackFontText(in, "font.txt");
}

TEST(FontPacker, PacksRowsOfEachGlyphIntoTheirBytes) {
    const std::string rows = "#.......\n.......#\n" + EmptyRows(13) + "##.#..#.\n";
    const auto font = Pack(FontWith(65, Glyph(65, rows)));
    ASSERT_EQ(font.error, "");
    const int j = 65 - 32;
    EXPECT_EQ(font.bits[0 * 96 + j], 0x01);
    EXPECT_EQ(font.bits[1 * 96 + j], 0x80);
    EXPECT_EQ(font.bits[15 * 96 + j], 0x4b);
    EXPECT_EQ(font.bits[0 * 96 + j + 1], 0);
}

TEST(FontPacker, TheCommittedFontPacks) {
    std::ifstream in(MORVEL_FONT_TXT);
    ASSERT_TRUE(in);
    EXPECT_EQ(packfont::PackFontText(in, "font.txt").error, "");
}

TEST(FontPacker, MalformedTextIsRejectedNamingTheLine) {
    // Line numbers: 2 header lines, then 17 lines a glyph plus a blank line.
    const int glyph40Header = 3 + 18 * (40 - 32);
    const struct {
        std::string text;
        std::string expected;
    } cases[] = {
        {FontWith(40, Glyph(40, EmptyRows(3) + "..#....\n" + EmptyRows(12))),
         "font.txt:" + std::to_string(glyph40Header + 4) + ": row 3 of glyph 40"},
        {FontWith(40, Glyph(40, EmptyRows(3) + "..#..o..\n" + EmptyRows(12))),
         "font.txt:" + std::to_string(glyph40Header + 4) + ": row 3 of glyph 40"},
        {FontWith(40, Glyph(41, EmptyRows(16))),
         "font.txt:" + std::to_string(glyph40Header) + ": glyph 41 out of order, expected 40"},
        {FontWith(40, "'(' 40\n" + EmptyRows(16)),
         "font.txt:" + std::to_string(glyph40Header) + ": expected the header of glyph 40"},
        // A short glyph takes the blank line after it as its last row.
        {FontWith(40, Glyph(40, EmptyRows(15))),
         "font.txt:" + std::to_string(glyph40Header + 16) + ": row 15 of glyph 40"},
        {FontWith(-1, "") + "128 x\n", "text after the last glyph"},
        {Glyph(32, EmptyRows(5)), "font.txt:6: glyph 32 ends after 5 of 16 rows"},
        {"; nothing but a comment\n", "font.txt:1: glyph 32 and later are missing"},
    };
    for (const auto& c : cases) {
        const auto font = Pack(c.text);
        EXPECT_NE(font.error.find(c.expected), std::string::npos)
            << "got \"" << font.error << "\", want \"" << c.expected << "\"";
    }
}

TEST(FontPacker, GeneratedSourceDefinesTheTableInOrder) {
    packfont::FontTable bits{};
    bits[0] = 0x12;
    bits[1535] = 0xab;
    const std::string source = packfont::FontTableSource(bits);
    EXPECT_NE(source.find("const std::uint8_t kBuiltinFontBits[1536]"), std::string::npos);
    EXPECT_NE(source.find("namespace present"), std::string::npos);
    const auto first = source.find("0x12,");
    const auto last = source.find("0xab,");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(last, std::string::npos);
    EXPECT_LT(first, last);
    std::size_t count = 0;
    for (auto at = source.find("0x"); at != std::string::npos; at = source.find("0x", at + 1)) {
        ++count;
    }
    EXPECT_EQ(count, 1536u);
}

} // namespace

// The body tool's text form: lossless both ways, exact floats, clear errors.
#include "body_binary.h"
#include "body_bytes.h"
#include "body_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

using namespace std::string_literals;

namespace {

using namespace bodytool;

std::vector<std::uint8_t> Roundtrip(const std::vector<std::uint8_t>& bytes) {
    kinetra::TBodyRecords body;
    std::string error;
    EXPECT_TRUE(ParseBinary(bytes, body, error)) << error;
    const std::string text = WriteText(body);
    kinetra::TBodyRecords again;
    EXPECT_TRUE(ParseText(text, again, error)) << error << "\n" << text;
    return kinetra::WriteBodyRecords(again);
}

// Seeds named bad-layout-* are hostile inputs that do not even follow the
// layout; every other seed follows it, whatever the loader makes of it.
TEST(BodyText, EverySeedFileComesBackByteForByte) {
    const std::filesystem::path corpus = BODY_CORPUS_DIR;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        if (entry.path().filename().string().rfind("bad-layout-", 0) == 0) {
            kinetra::TBodyRecords body;
            std::string error;
            EXPECT_FALSE(ParseBinary(bytes, body, error)) << entry.path();
            continue;
        }
        EXPECT_EQ(Roundtrip(bytes), bytes) << entry.path();
        ++files;
    }
    EXPECT_GE(files, 4);
}

TEST(BodyText, OddFieldsSurvive) {
    const float nanPayload = std::bit_cast<float>(0x7fc01234u);
    bodytest::TBytes b;
    b.Tag("BODY").I32(-17).Raw(std::string("\0 a\"\\\xff\t\r", 8));
    b.Tag("IMGS").I32(2);
    b.Raw("dir\\pic\r.png").U8(0).U8(1).U8(2).U8(3).U8(255).F32(-0.0f).F32(1e-45f);
    b.Raw("").U8(10).U8(0).U8(0).U8(0).U8(0).F32(0.1f).F32(nanPayload);
    b.Tag("MASS").I32(1).Mass("m", 3.4028235e38f, -INFINITY, -2147483647 - 1, 255);
    b.Tag("CONS").I32(1).Constraint("c", 7, -3, 1.0f / 3.0f);
    b.Raw("\0\0\0\0"s).Raw("tail\n");
    EXPECT_EQ(Roundtrip(b.data), b.data);
}

TEST(BodyText, NamesArePaddedWithSpacesAndTooLongNamesRefused) {
    const std::string start = "reserved 0\nname \"";
    const std::string rest = "\"\nmasses 0\nconstraints 0\nend \"END.\"\n";
    kinetra::TBodyRecords body;
    std::string error;
    ASSERT_TRUE(ParseText(start + "box" + rest, body, error)) << error;
    EXPECT_EQ(body.name, "box     ");
    EXPECT_FALSE(ParseText(start + "ninechars" + rest, body, error));
    EXPECT_EQ(error, "line 2: a name holds at most 8 bytes");
}

TEST(BodyText, MistakesAreReportedWithTheirLine) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"reserved 0\nname \"x\"\nmasses 1\nconstraints 0\nend \"END.\"\n",
         "line 4: expected \"mass\", found \"constraints\""},
        {"reserved 0\nname \"x\"\nmasses 0\nconstraints 0\nend \"RIGS\"\n",
         "line 5: \"end\" takes 4 bytes other than \"RIGS\""},
        {"reserved 0\nname \"x\"\nmasses 0\nconstraints 0\n", "the text ends where"},
        {"reserved 1e3\n", "line 1: \"1e3\" is not a whole number"},
        {"reserved 0\nname \"x\\q\"\n", "line 2: unknown escape \\q"},
        {"reserved 0\nname \"x\nmasses 0\n", "line 2: unterminated string"},
        {"reserved 0\nname \"x\"\nmasses -1\n", "line 3: \"-1\" is not a whole number"},
        {"reserved 0\nname \"x\"\nmasses 0\nconstraints 0\nend \"END.\"\nextra 1\n",
         "line 6: unexpected text"},
    };
    for (const auto& c : cases) {
        kinetra::TBodyRecords body;
        std::string error;
        EXPECT_FALSE(ParseText(c.text, body, error)) << c.text;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

TEST(BodyText, BinaryLayoutErrorsNameThePlace) {
    kinetra::TBodyRecords body;
    std::string error;
    bodytest::TBytes b;
    b.Tag("BODY").I32(0).Name("x").Tag("MASS").I32(1000);
    EXPECT_FALSE(ParseBinary(b.data, body, error));
    EXPECT_EQ(error, "mass count 1000 is more than the rest of the file can hold");
    EXPECT_FALSE(ParseBinary(bodytest::TBytes().Raw("BOD").data, body, error));
    EXPECT_EQ(error, "the file ends inside the first tag");
}

} // namespace

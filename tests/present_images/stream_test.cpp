#include <present/present.h>
#include <present/stream.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using present::ReadError;
using present::TStream;

TStream StreamOf(std::vector<std::uint8_t> bytes) {
    return TStream(std::move(bytes));
}

TStream StreamOf(const std::string& text) {
    return TStream(std::vector<std::uint8_t>(text.begin(), text.end()));
}

TEST(StreamReads, NumbersAreLittleEndianWhateverTheHost) {
    TStream stream = StreamOf(std::vector<std::uint8_t>{
        0xfe,                   // u8
        0x78, 0x56, 0x34, 0x12, // i32 0x12345678
        0xff, 0xff, 0xff, 0xff, // i32 -1
        0x00, 0x00, 0xc0, 0x3f, // f32 1.5
        0x00, 0x00, 0x80, 0xbf, // f32 -1.0
    });
    EXPECT_EQ(present::ReadU8(stream), 0xfe);
    EXPECT_EQ(present::ReadI32(stream), 0x12345678);
    EXPECT_EQ(present::ReadI32(stream), -1);
    EXPECT_EQ(present::ReadF32(stream), 1.5f);
    EXPECT_EQ(present::ReadF32(stream), -1.0f);
    EXPECT_TRUE(stream.AtEnd());
}

TEST(StreamReads, ReadingPastTheEndThrowsAndConsumesNothing) {
    TStream stream = StreamOf(std::vector<std::uint8_t>{1, 2, 3});
    EXPECT_THROW(present::ReadI32(stream), ReadError);
    EXPECT_EQ(stream.Position(), 0u);
    EXPECT_THROW(present::ReadChars(stream, 4), ReadError);
    EXPECT_THROW(present::ReadChars(stream, -1), ReadError);
    EXPECT_EQ(present::ReadChars(stream, 3), std::string("\x01\x02\x03"));
    EXPECT_THROW(present::ReadU8(stream), ReadError);
    EXPECT_THROW(present::ReadF32(stream), ReadError);
    EXPECT_EQ(present::ReadChars(stream, 0), "");
}

TEST(StreamReads, TextLinesEndAtLineFeedNulOrEndAndDropCarriageReturns) {
    TStream stream = StreamOf(std::string("gfx/a.png\r\nb\rc\0d\n\nlast", 22));
    EXPECT_EQ(present::ReadTextLine(stream), "gfx/a.png");
    EXPECT_EQ(present::ReadTextLine(stream), "bc");
    EXPECT_EQ(present::ReadTextLine(stream), "d");
    EXPECT_EQ(present::ReadTextLine(stream), "");
    EXPECT_EQ(present::ReadTextLine(stream), "last");
    EXPECT_EQ(present::ReadTextLine(stream), "");
}

TEST(StreamReads, TextLineStopsBeforeTheBytesThatFollowIt) {
    TStream stream = StreamOf(std::string("x.png\0\x01\x02", 8));
    EXPECT_EQ(present::ReadTextLine(stream), "x.png");
    EXPECT_EQ(present::ReadU8(stream), 1);
}

TEST(StreamReads, ClosedStreamHasNothingLeft) {
    auto stream = std::make_shared<TStream>(std::vector<std::uint8_t>{1, 2});
    present::CloseInput(stream);
    EXPECT_TRUE(stream->Closed());
    EXPECT_THROW(present::ReadU8(*stream), ReadError);
    present::CloseInput(nullptr);
}

TEST(EmbeddedFiles, NamesMatchExactlyAndTheFirstRegistrationStays) {
    static const std::uint8_t first[] = {1, 2, 3};
    static const std::uint8_t second[] = {9};
    EXPECT_EQ(present::RegisterEmbeddedFile("test/Embedded.bin", first, sizeof first), 1);
    EXPECT_EQ(present::RegisterEmbeddedFile("test/Embedded.bin", second, sizeof second), 0);

    const auto stream = present::OpenReadStream("incbin::test/Embedded.bin");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Size(), 3u);
    EXPECT_EQ(stream->Current(), first); // read in place, not copied
    EXPECT_EQ(present::ReadU8(*stream), 1);

    for (const char* other :
         {"incbin::test/embedded.bin", "incbin::test\\Embedded.bin", "incbin::/test/Embedded.bin",
          "incbin::test/Embedded.bin ", "incbin::", "INCBIN::test/Embedded.bin"}) {
        EXPECT_EQ(present::OpenReadStream(other), nullptr) << other;
    }
}

class FileSystem : public testing::Test {
protected:
    void SetUp() override {
        start = fs::current_path();
        root = fs::temp_directory_path() /
               ("present_files_" + std::to_string(getpid()) + "_" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "sub");
        std::ofstream(root / "sub" / "file.bdy", std::ios::binary).write("BODY\x01\x00", 6);
    }
    void TearDown() override {
        fs::current_path(start);
        fs::remove_all(root);
    }
    fs::path start;
    fs::path root;
};

TEST_F(FileSystem, FileKindTellsFilesFromDirectoriesAndFollowsLinks) {
    EXPECT_EQ(present::FileKind((root / "sub" / "file.bdy").string()), 1);
    EXPECT_EQ(present::FileKind((root / "sub").string()), 2);
    EXPECT_EQ(present::FileKind((root / "missing").string()), 0);
    EXPECT_EQ(present::FileKind(""), 0);
    fs::create_symlink(root / "sub" / "file.bdy", root / "link");
    fs::create_directory_symlink(root / "sub", root / "dirlink");
    fs::create_symlink(root / "nowhere", root / "dangling");
    EXPECT_EQ(present::FileKind((root / "link").string()), 1);
    EXPECT_EQ(present::FileKind((root / "dirlink").string()), 2);
    EXPECT_EQ(present::FileKind((root / "dangling").string()), 0);
}

TEST_F(FileSystem, OpenReadStreamReadsRegularFilesOnly) {
    const auto stream = present::OpenReadStream((root / "sub" / "file.bdy").string());
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(present::ReadChars(*stream, 4), "BODY");
    EXPECT_EQ(stream->Remaining(), 2u);
    EXPECT_EQ(present::OpenReadStream((root / "sub").string()), nullptr);
    EXPECT_EQ(present::OpenReadStream((root / "missing").string()), nullptr);
    EXPECT_EQ(present::OpenReadStream("/dev/zero"), nullptr);
}

// A file is read as it is consumed, not all at once when opened: a byte far
// into the file that changes after the first reads is seen as it is now, and
// one the file no longer holds fails to read.
TEST_F(FileSystem, FileStreamsReadAsTheyGo) {
    const fs::path path = root / "long.bin";
    std::vector<char> bytes(1 << 20, 'a');
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<long>(bytes.size()));
    const auto stream = present::OpenReadStream(path.string());
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(present::ReadChars(*stream, 4), "aaaa");
    {
        std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(500000);
        file.write("b", 1);
    }
    stream->Skip(500000 - 4);
    EXPECT_EQ(present::ReadU8(*stream), 'b');
    fs::resize_file(path, 600000);
    stream->Skip(100000 - 1);
    EXPECT_THROW(present::ReadU8(*stream), ReadError);
    EXPECT_FALSE(stream->Failed());
}

TEST_F(FileSystem, DirectoryOfKeepsARelativeFileInPlaceWhenChangedTo) {
    EXPECT_EQ(present::DirectoryOf("a/b/c.bdy"), "a/b");
    EXPECT_EQ(present::DirectoryOf("/c.bdy"), "/");
    EXPECT_EQ(present::DirectoryOf("a//c.bdy"), "a");
    EXPECT_EQ(present::DirectoryOf("c.bdy"), ".");

    fs::current_path(root / "sub");
    present::ChangeDirectory(present::DirectoryOf("file.bdy"));
    EXPECT_EQ(fs::current_path(), fs::canonical(root / "sub"));
    EXPECT_EQ(present::FileKind("file.bdy"), 1);

    fs::current_path(root);
    present::ChangeDirectory(present::DirectoryOf("sub/file.bdy"));
    EXPECT_EQ(fs::current_path(), fs::canonical(root / "sub"));

    present::ChangeDirectory((root / "missing").string());
    present::ChangeDirectory("");
    EXPECT_EQ(fs::current_path(), fs::canonical(root / "sub"));
}

TEST(TrimText, RemovesControlsAndSpacesButKeepsHighCharacters) {
    EXPECT_EQ(present::TrimText(std::string("\0\t ball \0\0\0", 11)), "ball");
    EXPECT_EQ(present::TrimText(std::string(8, '\0')), "");
    EXPECT_EQ(present::TrimText("a b"), "a b");
    EXPECT_EQ(present::TrimText("\xe9t\xe9 "), "\xe9t\xe9");
    EXPECT_EQ(present::TrimText("\xa0"), "\xa0");
    EXPECT_EQ(present::TrimText("!"), "!");
}

} // namespace

// Damaged and malicious PNG files: each must be rejected, and none may make
// the decoder allocate memory for the size it merely claims.
#include "allocation_probe.h"
#include "png_builder.h"
#include "png_portable.h"
#include <present/image.h>
#include <present/stream.h>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <chrono>

namespace {

using testpng::Bytes;

constexpr std::size_t SmallAllocation = 1024 * 1024;

// Whether libpng's decoder takes the picture. The browser build's own decoder
// must agree: the same pixels, or both turning the picture away, and neither
// allocating for a size merely claimed.
bool Decodes(const Bytes& png) {
    present::TPixmap pixels;
    bool hasAlpha = false;
    largestAllocation = 0;
    const bool decoded = present::DecodePng(png.data(), png.size(), pixels, hasAlpha);
    EXPECT_LT(largestAllocation, SmallAllocation);

    present::TPixmap own;
    bool ownAlpha = false;
    present::TStream source(png.data(), png.size());
    largestAllocation = 0;
    const bool ownDecoded = present::DecodePortablePng(source, own, ownAlpha);
    EXPECT_LT(largestAllocation, SmallAllocation);
    EXPECT_EQ(ownDecoded, decoded) << "the decoders disagree";
    if (decoded && ownDecoded) {
        EXPECT_EQ(own.rgba, pixels.rgba);
        EXPECT_EQ(ownAlpha, hasAlpha);
    }
    return decoded;
}

Bytes SmallPicture() {
    Bytes rgb;
    for (int i = 0; i < 8 * 8; ++i) {
        rgb.insert(rgb.end(),
                   {static_cast<std::uint8_t>(i), 7, static_cast<std::uint8_t>(255 - i)});
    }
    return testpng::MakePng(8, 8, 2, rgb);
}

// A file of the given chunks, each with a correct CRC.
Bytes Assemble(const std::vector<testpng::TChunk>& chunks) {
    Bytes png = testpng::Signature();
    for (const auto& chunk : chunks) {
        testpng::AppendChunk(png, chunk.type, chunk.data);
    }
    return png;
}

// A picture declaring width x height whose image data is a few rows of zeros.
Bytes ClaimedSize(std::uint32_t width, std::uint32_t height) {
    return Assemble({{"IHDR", testpng::Header(width, height, 8, 6)},
                     {"IDAT", testpng::Compress(Bytes(4096, 0))},
                     {"IEND", {}}});
}

TEST(HostilePng, TheUntouchedPictureDecodes) {
    EXPECT_TRUE(Decodes(SmallPicture()));
}

TEST(HostilePng, HugeOrEmptyDeclaredSizesAreRejectedBeforeAllocating) {
    EXPECT_FALSE(Decodes(ClaimedSize(0x7fffffff, 0x7fffffff)));
    EXPECT_FALSE(Decodes(ClaimedSize(100000, 1)));
    EXPECT_FALSE(Decodes(ClaimedSize(1, 16385)));
    // Within the side limit, but far beyond the pixel budget.
    EXPECT_FALSE(Decodes(ClaimedSize(16384, 16384)));
    EXPECT_FALSE(Decodes(ClaimedSize(4097, 4096)));
    EXPECT_FALSE(Decodes(ClaimedSize(0, 16)));
    EXPECT_FALSE(Decodes(ClaimedSize(16, 0)));
}

TEST(HostilePng, EveryTruncationIsRejected) {
    const Bytes whole = SmallPicture();
    for (std::size_t length = 0; length < whole.size(); ++length) {
        EXPECT_FALSE(
            Decodes(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length))))
            << "cut at " << length << " of " << whole.size();
    }
}

TEST(HostilePng, DamagedChunksAreRejectedEvenWhenOnlyAncillary) {
    const auto chunks = testpng::SplitChunks(SmallPicture());
    ASSERT_EQ(chunks.size(), 3u);
    const Bytes text = {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'h', 'i'};
    const Bytes withText = Assemble({chunks[0], {"tEXt", text}, chunks[1], chunks[2]});
    ASSERT_TRUE(Decodes(withText));

    // Flip one byte of each chunk's data or CRC in turn, leaving the stored CRC
    // stale: the IHDR, the tEXt, the IDAT and the IEND CRC.
    const std::size_t ihdrData = 8 + 8;
    const std::size_t textData = ihdrData + 13 + 4 + 8;
    const std::size_t idatData = textData + text.size() + 4 + 8;
    const std::size_t iendCrc = withText.size() - 4;
    for (const std::size_t at : {ihdrData + 3, textData + 1, idatData + 5, iendCrc}) {
        Bytes damaged = withText;
        damaged[at] ^= 0x10;
        EXPECT_FALSE(Decodes(damaged)) << "byte " << at;
    }
}

TEST(HostilePng, AbsurdChunkLengthsAreRejectedAtOnce) {
    const auto chunks = testpng::SplitChunks(SmallPicture());
    const auto start = std::chrono::steady_clock::now();
    for (const std::uint32_t length : {0x7ffffff0u, 0x80000000u, 0xffffffffu}) {
        for (const char* type : {"tEXt", "IDAT", "zzZz"}) {
            Bytes png = Assemble({chunks[0]});
            testpng::AppendU32(png, length);
            png.insert(png.end(), type, type + 4);
            png.insert(png.end(), 64, 'x');
            EXPECT_FALSE(Decodes(png)) << type << " of length " << length;
        }
    }
    // A claimed length must not be allocated and cleared before the data runs out.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(HostilePng, MalformedStructureIsRejected) {
    const auto chunks = testpng::SplitChunks(SmallPicture());
    // Image data that inflates to far less than the declared rows.
    EXPECT_FALSE(
        Decodes(Assemble({chunks[0], {"IDAT", testpng::Compress(Bytes(10, 0))}, chunks[2]})));
    // Image data whose zlib checksum is wrong (the chunk's own CRC is right).
    Bytes badSum = chunks[1].data;
    badSum.back() ^= 1;
    EXPECT_FALSE(Decodes(Assemble({chunks[0], {"IDAT", badSum}, chunks[2]})));
    // Not zlib data at all.
    EXPECT_FALSE(Decodes(Assemble({chunks[0], {"IDAT", Bytes(64, 0xab)}, chunks[2]})));
    // No image data.
    EXPECT_FALSE(Decodes(Assemble({chunks[0], chunks[2]})));
    // A row with an unknown filter type.
    Bytes raw(8 * (1 + 8 * 3), 0);
    raw[0] = 9;
    EXPECT_FALSE(Decodes(Assemble({chunks[0], {"IDAT", testpng::Compress(raw)}, chunks[2]})));
    // A palette picture without a palette.
    EXPECT_FALSE(Decodes(Assemble({{"IHDR", testpng::Header(8, 8, 8, 3)},
                                   {"IDAT", testpng::Compress(Bytes(8 * 9, 0))},
                                   chunks[2]})));
    // An unknown critical chunk.
    EXPECT_FALSE(Decodes(Assemble({chunks[0], {"ABCD", Bytes(4, 0)}, chunks[1], chunks[2]})));
    EXPECT_FALSE(Decodes(Bytes{}));
    EXPECT_FALSE(present::DecodePng(nullptr, 100, *std::make_unique<present::TPixmap>(),
                                    *std::make_unique<bool>()));
}

long PeakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(HostilePng, CompressedTextIsNeverInflated) {
    const auto chunks = testpng::SplitChunks(SmallPicture());
    // 200 compressed texts of 4 MiB each: a small file that would cost 800 MiB
    // if the decoder kept what they inflate to.
    Bytes ztxt = {'B', 'o', 'm', 'b', 0, 0};
    const Bytes packed = testpng::Compress(Bytes(4u * 1024 * 1024, 'a'));
    ztxt.insert(ztxt.end(), packed.begin(), packed.end());
    std::vector<testpng::TChunk> bomb = {chunks[0]};
    bomb.insert(bomb.end(), 200, {"zTXt", ztxt});
    bomb.insert(bomb.end(), {chunks[1], chunks[2]});
    const Bytes png = Assemble(bomb);

    const long before = PeakResidentKilobytes();
    EXPECT_TRUE(Decodes(png));
    EXPECT_LT(PeakResidentKilobytes() - before, 100 * 1024);
}

} // namespace

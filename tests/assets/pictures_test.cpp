// The three committed pictures, their embedded copies and their generator.
#include "embedded_pictures.h"
#include "faces.h"
#include "icon.h"
#include "png_file.h"
#include "png_portable.h"
#include "png_reader.h"
#include "spheres.h"
#include <present/stream.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

std::vector<std::uint8_t> Committed(const std::string& name) {
    return ReadBytes(std::string(MORVEL_GFX_DIR) + "/" + name);
}

std::vector<std::uint8_t> CommittedIcon(int size) {
    return ReadBytes(std::string(MORVEL_ICON_DIR) + "/morvel-" + std::to_string(size) + ".png");
}

TDecodedPng Decoded(const std::string& name) {
    TDecodedPng png = DecodePng(Committed(name));
    EXPECT_TRUE(png.ok) << name;
    return png;
}

const std::uint8_t* At(const TDecodedPng& png, int x, int y) {
    return &png.pixels[(static_cast<std::size_t>(y) * png.width + x) * png.channels];
}

struct TExpected {
    const char* file;
    std::uint32_t width;
    std::uint32_t height;
    int colourType;
};

constexpr TExpected kPictures[] = {
    {"faces.png", 320, 64, 6}, {"sphere.png", 139, 139, 2}, {"sphere4.png", 47, 47, 6}};

TEST(Pictures, HeadersAndChunkSequence) {
    const std::vector<std::string> order = {"IHDR", "tEXt", "tIME", "pHYs", "gAMA", "IDAT", "IEND"};
    for (const auto& picture : kPictures) {
        SCOPED_TRACE(picture.file);
        const auto bytes = Committed(picture.file);
        const auto chunks = ReadChunks(bytes);
        std::vector<std::string> types;
        for (const auto& chunk : chunks) {
            types.push_back(chunk.type);
            EXPECT_TRUE(chunk.crcValid) << chunk.type;
        }
        EXPECT_EQ(types, order);
        ASSERT_EQ(chunks.size(), order.size());
        const auto& text = chunks[1].data;
        EXPECT_EQ(std::string(text.begin(), std::find(text.begin(), text.end(), 0)),
                  "Creation Time");

        const TDecodedPng png = DecodePng(bytes);
        ASSERT_TRUE(png.ok);
        EXPECT_EQ(png.width, picture.width);
        EXPECT_EQ(png.height, picture.height);
        EXPECT_EQ(png.colourType, picture.colourType);
        EXPECT_EQ(png.bitDepth, 8);
        EXPECT_EQ(png.compression, 0);
        EXPECT_EQ(png.filter, 0);
        EXPECT_EQ(png.interlace, 0);
    }
}

TEST(Pictures, BlueSkinHasWhiteCornersAndNoPureBlack) {
    const TDecodedPng png = Decoded("sphere.png");
    ASSERT_EQ(png.channels, 3);
    const int last = static_cast<int>(png.width) - 1;
    for (auto [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}}) {
        const std::uint8_t* p = At(png, x, y);
        EXPECT_EQ(p[0] + p[1] + p[2], 3 * 255) << x << "," << y;
    }
    for (std::size_t i = 0; i < png.pixels.size(); i += 3) {
        ASSERT_FALSE(png.pixels[i] == 0 && png.pixels[i + 1] == 0 && png.pixels[i + 2] == 0)
            << "pixel " << i / 3;
    }
    // Blue ball: the middle and the rim are blue, the rim darker than the middle.
    const std::uint8_t* middle = At(png, 69, 69);
    const std::uint8_t* rim = At(png, 69, 2);
    EXPECT_GT(middle[2], middle[0]);
    EXPECT_GT(rim[2], rim[0]);
    EXPECT_LT(rim[0] + rim[1] + rim[2], middle[0] + middle[1] + middle[2]);
}

TEST(Pictures, ChromeSkinIsADiscOnTransparency) {
    const TDecodedPng png = Decoded("sphere4.png");
    ASSERT_EQ(png.channels, 4);
    const int last = static_cast<int>(png.width) - 1;
    for (auto [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}}) {
        EXPECT_EQ(At(png, x, y)[3], 0) << x << "," << y;
    }
    EXPECT_EQ(At(png, 23, 23)[3], 255);
    int opaque = 0;
    int clear = 0;
    int partial = 0;
    for (std::size_t i = 3; i < png.pixels.size(); i += 4) {
        const int alpha = png.pixels[i];
        (alpha == 255 ? opaque : alpha == 0 ? clear : partial)++;
    }
    // Roughly pi / 4 of the square is the disc, with an antialiased rim.
    EXPECT_GT(opaque, 1500);
    EXPECT_GT(clear, 380);
    EXPECT_GT(partial, 60);
}

TEST(Pictures, FacesArePureBlackOrWhiteAndPlacedPerFrame) {
    const TDecodedPng png = Decoded("faces.png");
    ASSERT_EQ(png.channels, 4);
    for (std::size_t i = 0; i < png.pixels.size(); i += 4) {
        const std::uint8_t* p = &png.pixels[i];
        const bool grey = p[0] == p[1] && p[1] == p[2] && (p[0] == 0 || p[0] == 255);
        ASSERT_TRUE(grey && (p[3] == 0 || p[3] == 255)) << "pixel " << i / 4;
    }
    struct TSpan {
        int left, right, top, bottom;
    };
    const TSpan expected[5] = {
        {14, 49, 2, 50}, {28, 61, 3, 51}, {2, 35, 3, 51}, {28, 62, 3, 51}, {1, 35, 3, 51}};
    for (int frame = 0; frame < 5; ++frame) {
        TSpan found{64, -1, 64, -1};
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                if (At(png, frame * 64 + x, y)[3] != 0) {
                    found = {std::min(found.left, x), std::max(found.right, x),
                             std::min(found.top, y), std::max(found.bottom, y)};
                }
            }
        }
        const TSpan& want = expected[frame];
        EXPECT_NEAR(found.left, want.left, 2) << "frame " << frame;
        EXPECT_NEAR(found.right, want.right, 2) << "frame " << frame;
        EXPECT_NEAR(found.top, want.top, 2) << "frame " << frame;
        EXPECT_NEAR(found.bottom, want.bottom, 2) << "frame " << frame;
    }
}

// Every size is the blue ball on transparency wearing the black-and-white
// face, drawn at that size.
TEST(Pictures, IconsAreTheBallWithItsFaceAtEverySize) {
    for (const int size : pictures::kIconSizes) {
        SCOPED_TRACE(size);
        const TDecodedPng png = DecodePng(CommittedIcon(size));
        ASSERT_TRUE(png.ok);
        ASSERT_EQ(png.width, static_cast<std::uint32_t>(size));
        ASSERT_EQ(png.height, static_cast<std::uint32_t>(size));
        ASSERT_EQ(png.channels, 4);
        const int last = size - 1;
        for (auto [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}}) {
            EXPECT_EQ(At(png, x, y)[3], 0) << x << "," << y;
        }
        int blue = 0;
        int black = 0;
        int white = 0;
        for (std::size_t i = 0; i < png.pixels.size(); i += 4) {
            const std::uint8_t* p = &png.pixels[i];
            const int darkest = std::min({p[0], p[1], p[2]});
            const int brightest = std::max({p[0], p[1], p[2]});
            blue += p[3] == 255 && p[2] > p[0] + 60 ? 1 : 0;
            black += p[3] == 255 && brightest < 40 ? 1 : 0;
            white += p[3] == 255 && darkest > 215 ? 1 : 0;
        }
        const int area = size * size;
        EXPECT_GT(blue, area / 2);
        EXPECT_GT(black, area / 50);
        EXPECT_GT(white, area / 50);
    }
}

TEST(Pictures, EmbeddedBytesAreTheCommittedFilesInRegistrationOrder) {
    const char* names[3] = {"gfx/faces.png", "gfx/sphere.png", "gfx/sphere4.png"};
    for (int i = 0; i < 3; ++i) {
        const auto& embedded = morvel::kEmbeddedPictures[i];
        EXPECT_STREQ(embedded.name, names[i]);
        const auto committed = Committed(std::string(names[i]).substr(4));
        ASSERT_FALSE(committed.empty()) << names[i];
        ASSERT_EQ(embedded.size, committed.size()) << names[i];
        EXPECT_EQ(std::memcmp(embedded.data, committed.data(), embedded.size), 0) << names[i];
    }
}

// The browser build decodes the pictures with its own decoder: the same pixels
// as libpng's, down to the last byte.
TEST(Pictures, EmbeddedPicturesDecodeAlikeWithoutLibpng) {
    for (const auto& embedded : morvel::kEmbeddedPictures) {
        SCOPED_TRACE(embedded.name);
        const auto* bytes = static_cast<const std::uint8_t*>(embedded.data);
        present::TPixmap reference;
        bool referenceAlpha = false;
        ASSERT_TRUE(present::DecodePng(bytes, embedded.size, reference, referenceAlpha));
        present::TStream source(bytes, embedded.size);
        present::TPixmap own;
        bool ownAlpha = false;
        ASSERT_TRUE(present::DecodePortablePng(source, own, ownAlpha));
        EXPECT_EQ(own.width, reference.width);
        EXPECT_EQ(own.height, reference.height);
        EXPECT_TRUE(own.rgba == reference.rgba);
        EXPECT_EQ(ownAlpha, referenceAlpha);
    }
}

TEST(Pictures, GeneratorReproducesTheCommittedFiles) {
    EXPECT_EQ(pictures::EncodePng(pictures::DrawFaces()), Committed("faces.png"));
    EXPECT_EQ(pictures::EncodePng(pictures::DrawBlueSphere()), Committed("sphere.png"));
    EXPECT_EQ(pictures::EncodePng(pictures::DrawChromeSphere()), Committed("sphere4.png"));
    for (const int size : pictures::kIconSizes) {
        EXPECT_EQ(pictures::EncodePng(pictures::DrawIcon(size)), CommittedIcon(size)) << size;
    }
}

TEST(Pictures, EncoderRefusesPicturesItCannotDescribe) {
    EXPECT_TRUE(pictures::EncodePng(pictures::MakePicture(4, 4, 2)).empty());
    EXPECT_TRUE(pictures::EncodePng(pictures::MakePicture(0, 4, 3)).empty());
    pictures::TPicture shortData = pictures::MakePicture(4, 4, 4);
    shortData.pixels.pop_back();
    EXPECT_TRUE(pictures::EncodePng(shortData).empty());
}

} // namespace

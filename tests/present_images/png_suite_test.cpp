// Decodes the PngSuite conformance pictures and compares every pixel with
// libpng's simplified reader, an independent code path of the same library.
// The simplified reader converts gamma unless the picture claims sRGB, so the
// reference decode drops the colour-space chunks first and declares 16-bit
// data sRGB: then neither side corrects gamma, and 16-bit channels are scaled
// to 8 bits with rounding on both. The simplified reader garbles interlaced
// 16-bit pictures, so an interlaced picture is compared with the reference of
// its non-interlaced twin, which the suite draws with the same pixels.
#include "png_builder.h"
#include "png_portable.h"
#include <present/image.h>
#include <present/present.h>
#include <present/stream.h>

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <filesystem>
#include <set>

namespace {

namespace fs = std::filesystem;
using testpng::Bytes;

fs::path SuiteDirectory() {
    return fs::path(MORVEL_PNGSUITE_DIR);
}

std::vector<fs::path> SuiteFiles(bool corrupt) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(SuiteDirectory(), error)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".png" && (name[0] == 'x') == corrupt) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool ReferenceDecode(const Bytes& file, present::TPixmap& out) {
    static const std::set<std::string> colourSpace = {"gAMA", "sRGB", "iCCP", "cHRM"};
    Bytes stripped = testpng::Signature();
    for (const auto& chunk : testpng::SplitChunks(file)) {
        if (!colourSpace.contains(chunk.type)) {
            testpng::AppendChunk(stripped, chunk.type, chunk.data);
        }
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.flags = PNG_IMAGE_FLAG_16BIT_sRGB;
    if (!png_image_begin_read_from_memory(&image, stripped.data(), stripped.size())) {
        return false;
    }
    image.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    image.format = PNG_FORMAT_RGBA;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.rgba.assign(PNG_IMAGE_SIZE(image), 0);
    return png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr) != 0;
}

struct THeaderFields {
    int width = 0;
    int height = 0;
    bool interlaced = false;
};

THeaderFields HeaderOf(const Bytes& file) {
    const auto chunks = testpng::SplitChunks(file);
    if (chunks.empty() || chunks[0].type != "IHDR" || chunks[0].data.size() != 13) {
        return {};
    }
    const auto& d = chunks[0].data;
    const auto u32 = [&](int at) {
        return d[at] << 24 | d[at + 1] << 16 | d[at + 2] << 8 | d[at + 3];
    };
    return {u32(0), u32(4), d[12] != 0};
}

// "basi0g08" pairs with "basn0g08", "s05i3p02" with "s05n3p02"; the background
// test pictures "bgaiXXXX" have their twin among the basic ones.
fs::path NonInterlacedTwin(const fs::path& path) {
    std::string name = path.filename().string();
    name[3] = 'n';
    fs::path twin = path.parent_path() / name;
    if (!fs::exists(twin)) {
        twin = path.parent_path() / ("basn" + name.substr(4));
    }
    return twin;
}

bool DeclaresTransparency(const Bytes& file) {
    for (const auto& chunk : testpng::SplitChunks(file)) {
        if (chunk.type == "IHDR") {
            if ((chunk.data[9] & 4) != 0) {
                return true;
            }
        } else if (chunk.type == "tRNS") {
            return true;
        }
    }
    return false;
}

class PngSuite : public testing::Test {
protected:
    void SetUp() override {
        if (!fs::is_directory(SuiteDirectory())) {
            GTEST_SKIP() << "PngSuite not found at " << SuiteDirectory()
                         << " (expected next to the repository, in shared/pngsuite)";
        }
    }
};

TEST_F(PngSuite, EveryValidPictureDecodesToTheReferencePixels) {
    const auto files = SuiteFiles(false);
    ASSERT_GE(files.size(), 100u);
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        const Bytes bytes = testpng::ReadFile(path.string());
        const THeaderFields header = HeaderOf(bytes);
        const fs::path referencePath = header.interlaced ? NonInterlacedTwin(path) : path;
        present::TPixmap reference;
        ASSERT_TRUE(ReferenceDecode(testpng::ReadFile(referencePath.string()), reference))
            << referencePath;

        const auto image = present::LoadImageFile(path.string(), present::TImageFlags::None);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, header.width);
        EXPECT_EQ(image->height, header.height);
        ASSERT_EQ(image->FrameCount(), 1);
        const present::TPixmap& decoded = image->pixmaps[0];
        ASSERT_EQ(decoded.width, reference.width);
        ASSERT_EQ(decoded.height, reference.height);
        const auto mismatch =
            std::mismatch(decoded.rgba.begin(), decoded.rgba.end(), reference.rgba.begin());
        if (mismatch.first != decoded.rgba.end()) {
            const auto at = mismatch.first - decoded.rgba.begin();
            ADD_FAILURE() << "first difference at pixel " << at / 4 << " channel " << at % 4 << ": "
                          << int(*mismatch.first) << " vs " << int(*mismatch.second);
        }

        present::TPixmap direct;
        bool hasAlpha = false;
        ASSERT_TRUE(present::DecodePng(bytes.data(), bytes.size(), direct, hasAlpha));
        EXPECT_EQ(hasAlpha, DeclaresTransparency(bytes));
    }
}

// The browser build's decoder takes the 8-bit, non-interlaced grey, grey and
// alpha, RGB and RGBA pictures, giving libpng's pixels exactly, and turns every
// other one away.
TEST_F(PngSuite, TheOwnDecoderGivesLibpngsPixelsOrNothing) {
    int taken = 0;
    for (const bool corrupt : {false, true}) {
        for (const auto& path : SuiteFiles(corrupt)) {
            SCOPED_TRACE(path.filename().string());
            const Bytes bytes = testpng::ReadFile(path.string());
            const auto chunks = testpng::SplitChunks(bytes);
            const bool handled = !corrupt && chunks[0].data[8] == 8 && chunks[0].data[9] != 3 &&
                                 chunks[0].data[12] == 0;
            present::TPixmap own;
            bool ownAlpha = false;
            present::TStream source(bytes.data(), bytes.size());
            ASSERT_EQ(present::DecodePortablePng(source, own, ownAlpha), handled);
            if (!handled) {
                continue;
            }
            ++taken;
            present::TPixmap reference;
            bool hasAlpha = false;
            ASSERT_TRUE(present::DecodePng(bytes.data(), bytes.size(), reference, hasAlpha));
            EXPECT_EQ(own.width, reference.width);
            EXPECT_EQ(own.height, reference.height);
            EXPECT_TRUE(own.rgba == reference.rgba);
            EXPECT_EQ(ownAlpha, hasAlpha);
        }
    }
    EXPECT_GE(taken, 30);
}

TEST_F(PngSuite, EveryCorruptPictureIsRejected) {
    const auto files = SuiteFiles(true);
    EXPECT_EQ(files.size(), 14u);
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        EXPECT_EQ(present::LoadImageFile(path.string(), present::TImageFlags::Default), nullptr);
        EXPECT_EQ(present::LoadImageStrip(path.string(), 1, 1, 0, 1, present::TImageFlags::Default),
                  nullptr);
    }
}

} // namespace

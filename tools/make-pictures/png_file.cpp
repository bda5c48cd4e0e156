#include "png_file.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <fstream>

namespace pictures {

namespace {

// Every picture carries the same stamp, so regeneration never changes a byte.
constexpr const char* kCreationTime = "Thu, 01 Jan 2026 12:00:00 +0000";
constexpr std::uint8_t kTime[7] = {2026 >> 8, 2026 & 0xff, 1, 1, 12, 0, 0};
constexpr std::uint32_t kPixelsPerMetre = 2835; // 72 dpi
constexpr std::uint32_t kGamma = 45455;         // 1 / 2.2

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

void WriteChunk(png_structp png, const char* name, const std::vector<std::uint8_t>& data) {
    png_write_chunk(png, reinterpret_cast<png_const_bytep>(name), data.data(), data.size());
}

void WriteAncillaryChunks(png_structp png) {
    std::vector<std::uint8_t> text;
    const std::string keyword = "Creation Time";
    text.insert(text.end(), keyword.begin(), keyword.end());
    text.push_back(0);
    text.insert(text.end(), kCreationTime, kCreationTime + std::strlen(kCreationTime));
    WriteChunk(png, "tEXt", text);

    WriteChunk(png, "tIME", std::vector<std::uint8_t>(kTime, kTime + sizeof kTime));

    std::vector<std::uint8_t> physical;
    PutBigEndian(physical, kPixelsPerMetre);
    PutBigEndian(physical, kPixelsPerMetre);
    physical.push_back(1); // unit: metre
    WriteChunk(png, "pHYs", physical);

    std::vector<std::uint8_t> gamma;
    PutBigEndian(gamma, kGamma);
    WriteChunk(png, "gAMA", gamma);
}

bool Encode(png_structp png, png_infop info, const TPicture& picture) {
    // Allocated before setjmp so a libpng error cannot skip its destructor.
    std::vector<png_bytep> rows(picture.height);
    const std::size_t stride = static_cast<std::size_t>(picture.width) * picture.channels;
    for (int y = 0; y < picture.height; ++y) {
        rows[y] = const_cast<png_bytep>(picture.pixels.data() + y * stride);
    }
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    const int colourType = picture.channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
    // A buffer larger than any compressed picture keeps the data in one IDAT.
    png_set_compression_buffer_size(png, 1u << 20);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, picture.width, picture.height, 8, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    WriteAncillaryChunks(png);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    return true;
}

} // namespace

std::vector<std::uint8_t> EncodePng(const TPicture& picture) {
    const bool shapeValid = picture.width > 0 && picture.height > 0 &&
                            (picture.channels == 3 || picture.channels == 4) &&
                            picture.pixels.size() == static_cast<std::size_t>(picture.width) *
                                                         picture.height * picture.channels;
    if (!shapeValid) {
        return {};
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return {};
    }
    png_infop info = png_create_info_struct(png);
    std::vector<std::uint8_t> bytes;
    bool ok = false;
    if (info != nullptr) {
        png_set_write_fn(png, &bytes, AppendBytes, NoFlush);
        ok = Encode(png, info, picture);
    }
    png_destroy_write_struct(&png, &info);
    if (!ok) {
        bytes.clear();
    }
    return bytes;
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

} // namespace pictures

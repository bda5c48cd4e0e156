#include "png_reader.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

std::uint32_t BigEndian(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

struct TMemorySource {
    const std::vector<std::uint8_t>* bytes;
    std::size_t offset;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<TMemorySource*>(png_get_io_ptr(png));
    if (source->offset + length > source->bytes->size()) {
        png_error(png, "read past the end");
    }
    std::memcpy(out, source->bytes->data() + source->offset, length);
    source->offset += length;
}

bool Decode(png_structp png, png_infop info, TDecodedPng& result, std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_info(png, info);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    png_get_IHDR(png, info, &width, &height, &result.bitDepth, &result.colourType,
                 &result.interlace, &result.compression, &result.filter);
    result.width = width;
    result.height = height;
    result.channels = png_get_channels(png, info);
    const std::size_t stride = png_get_rowbytes(png, info);
    result.pixels.resize(stride * height);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) {
        rows[y] = result.pixels.data() + y * stride;
    }
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    return true;
}

} // namespace

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<TPngChunk> ReadChunks(const std::vector<std::uint8_t>& bytes) {
    static const std::uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    if (bytes.size() < 8 || std::memcmp(bytes.data(), kSignature, 8) != 0) {
        return {};
    }
    std::vector<TPngChunk> chunks;
    std::size_t at = 8;
    while (at < bytes.size()) {
        if (bytes.size() - at < 12) {
            return {};
        }
        const std::uint32_t length = BigEndian(&bytes[at]);
        if (length > bytes.size() - at - 12) {
            return {};
        }
        TPngChunk chunk;
        chunk.type.assign(reinterpret_cast<const char*>(&bytes[at + 4]), 4);
        chunk.data.assign(bytes.begin() + at + 8, bytes.begin() + at + 8 + length);
        const uLong crc = crc32(0, &bytes[at + 4], length + 4);
        chunk.crcValid = crc == BigEndian(&bytes[at + 8 + length]);
        chunks.push_back(std::move(chunk));
        at += 12 + length;
    }
    return chunks;
}

TDecodedPng DecodePng(const std::vector<std::uint8_t>& bytes) {
    TDecodedPng result;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return result;
    }
    png_infop info = png_create_info_struct(png);
    TMemorySource source{&bytes, 0};
    std::vector<png_bytep> rows;
    if (info != nullptr) {
        png_set_read_fn(png, &source, ReadFromMemory);
        result.ok = Decode(png, info, result, rows);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return result;
}

#include "png_builder.h"

#include <zlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testpng {

void AppendU32(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void AppendChunk(Bytes& out, const std::string& type, const Bytes& data) {
    AppendU32(out, static_cast<std::uint32_t>(data.size()));
    Bytes body(type.begin(), type.end());
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    AppendU32(out,
              static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

Bytes Signature() {
    return {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
}

Bytes Header(std::uint32_t width, std::uint32_t height, int bitDepth, int colourType) {
    Bytes header;
    AppendU32(header, width);
    AppendU32(header, height);
    header.push_back(static_cast<std::uint8_t>(bitDepth));
    header.push_back(static_cast<std::uint8_t>(colourType));
    header.push_back(0);
    header.push_back(0);
    header.push_back(0);
    return header;
}

Bytes Compress(const Bytes& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(size);
    if (compress(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size())) != Z_OK) {
        throw std::runtime_error("zlib compress failed");
    }
    packed.resize(size);
    return packed;
}

Bytes MakePng(int width, int height, int colourType, const Bytes& pixels) {
    const std::size_t channels = colourType == 6 ? 4 : 3;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * channels;
    Bytes raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const auto row = pixels.begin() + static_cast<std::ptrdiff_t>(y * rowBytes);
        raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    }
    Bytes png = Signature();
    AppendChunk(png, "IHDR", Header(width, height, 8, colourType));
    AppendChunk(png, "IDAT", Compress(raw));
    AppendChunk(png, "IEND", {});
    return png;
}

std::vector<TChunk> SplitChunks(const Bytes& png) {
    std::vector<TChunk> chunks;
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = static_cast<std::uint32_t>(png[at]) << 24 |
                                     static_cast<std::uint32_t>(png[at + 1]) << 16 |
                                     static_cast<std::uint32_t>(png[at + 2]) << 8 | png[at + 3];
        if (length > png.size() - at - 12) {
            break;
        }
        TChunk chunk;
        chunk.type.assign(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                          png.begin() + static_cast<std::ptrdiff_t>(at + 8));
        chunk.data.assign(png.begin() + static_cast<std::ptrdiff_t>(at + 8),
                          png.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
        chunks.push_back(std::move(chunk));
        at += 12 + length;
    }
    return chunks;
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

} // namespace testpng

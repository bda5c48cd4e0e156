// Writing PNG files without libpng or zlib: the pixels are stored in
// uncompressed deflate blocks, which every decoder reads. The files are
// larger than compressed ones; they only serve the tools' screenshots.
#include "checksums.h"
#include <present/image.h>

#include <algorithm>
#include <fstream>

namespace present {

namespace {

using TBytes = std::vector<std::uint8_t>;

constexpr std::size_t kStoredBlockBytes = 65535;

void AppendU32(TBytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void AppendChunk(TBytes& out, const char* type, const TBytes& data) {
    AppendU32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    AppendU32(out, Crc32(0, out.data() + start, out.size() - start));
}

// A zlib stream of stored blocks holding raw.
TBytes StoreZlib(const TBytes& raw) {
    TBytes out = {0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t length = std::min(kStoredBlockBytes, raw.size() - at);
        out.push_back(at + length == raw.size() ? 1 : 0);
        out.push_back(static_cast<std::uint8_t>(length));
        out.push_back(static_cast<std::uint8_t>(length >> 8));
        out.push_back(static_cast<std::uint8_t>(~length));
        out.push_back(static_cast<std::uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < raw.size());
    AppendU32(out, Adler32(1, raw.data(), raw.size()));
    return out;
}

} // namespace

bool SavePng(const std::string& path, const TPixmap& pixmap) {
    const std::size_t row = static_cast<std::size_t>(pixmap.width) * 4;
    if (pixmap.width < 1 || pixmap.height < 1 || pixmap.rgba.size() != row * pixmap.height) {
        return false;
    }
    TBytes raw;
    raw.reserve((row + 1) * pixmap.height);
    for (int y = 0; y < pixmap.height; ++y) {
        raw.push_back(0); // no filter
        const auto start = pixmap.rgba.begin() + static_cast<std::ptrdiff_t>(row * y);
        raw.insert(raw.end(), start, start + static_cast<std::ptrdiff_t>(row));
    }
    TBytes header;
    AppendU32(header, static_cast<std::uint32_t>(pixmap.width));
    AppendU32(header, static_cast<std::uint32_t>(pixmap.height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no interlace
    TBytes png = {137, 80, 78, 71, 13, 10, 26, 10};
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IDAT", StoreZlib(raw));
    AppendChunk(png, "IEND", {});
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(file.flush());
}

} // namespace present

#include "png_portable.h"

#include "checksums.h"
#include "inflate.h"
#include "png_limits.h"
#include <present/stream.h>

#include <array>
#include <cstdlib>
#include <cstring>

namespace present {

namespace {

constexpr std::uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr std::uint32_t kHeaderBytes = 13;
constexpr int kGrey = 0;
constexpr int kRgb = 2;
constexpr int kGreyAlpha = 4;
constexpr int kRgba = 6;

std::uint32_t BigEndian(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

struct TChunk {
    std::array<std::uint8_t, 4> type{};
    std::vector<std::uint8_t> data;

    bool Is(const char* name) const { return std::memcmp(type.data(), name, 4) == 0; }
    // Critical chunks have an upper-case first letter.
    bool Critical() const { return (type[0] & 0x20) == 0; }
};

// One whole chunk with its checksum verified; its length is checked against
// what the stream holds before anything is allocated.
bool ReadChunk(TStream& source, TChunk& chunk) {
    std::uint8_t head[8];
    if (!source.TryRead(head, sizeof head)) {
        return false;
    }
    const std::uint32_t length = BigEndian(head);
    if (length > 0x7fffffffu || length > source.Remaining()) {
        return false;
    }
    std::memcpy(chunk.type.data(), head + 4, 4);
    chunk.data.resize(length);
    std::uint8_t crc[4];
    return source.TryRead(chunk.data.data(), length) && source.TryRead(crc, sizeof crc) &&
           BigEndian(crc) == Crc32(Crc32(0, chunk.type.data(), 4), chunk.data.data(), length);
}

struct THeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int colourType = 0;
    int channels = 0;
    // The transparent colour of a grey or RGB picture, as libpng compares it
    // with 8-bit samples: the low byte of each 16-bit value.
    bool keyed = false;
    std::array<std::uint8_t, 3> key{};
};

bool ReadHeader(const TChunk& chunk, THeader& header) {
    if (!chunk.Is("IHDR") || chunk.data.size() != kHeaderBytes) {
        return false;
    }
    const std::uint8_t* d = chunk.data.data();
    header.width = BigEndian(d);
    header.height = BigEndian(d + 4);
    header.colourType = d[9];
    const int bitDepth = d[8];
    const int compression = d[10];
    const int filter = d[11];
    const int interlace = d[12];
    switch (header.colourType) {
    case kGrey:
        header.channels = 1;
        break;
    case kRgb:
        header.channels = 3;
        break;
    case kGreyAlpha:
        header.channels = 2;
        break;
    case kRgba:
        header.channels = 4;
        break;
    default:
        return false;
    }
    const std::uint64_t pixelBytes = std::uint64_t{header.width} * header.height * 4;
    return bitDepth == 8 && compression == 0 && filter == 0 && interlace == 0 &&
           header.width > 0 && header.height > 0 && header.width <= kPngMaxSide &&
           header.height <= kPngMaxSide && pixelBytes <= kPngMaxPixelBytes;
}

bool ReadTransparency(const TChunk& chunk, THeader& header) {
    const std::size_t expected = header.colourType == kGrey ? 2 : 6;
    if (header.keyed || (header.colourType != kGrey && header.colourType != kRgb) ||
        chunk.data.size() != expected) {
        return false;
    }
    header.keyed = true;
    for (std::size_t i = 0; i * 2 < expected; ++i) {
        header.key[i] = chunk.data[i * 2 + 1];
    }
    return true;
}

int Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) {
        return a;
    }
    return pb <= pc ? b : c;
}

// Undoes the row filters in place: each row is its filter byte, then the row.
bool Unfilter(std::vector<std::uint8_t>& rows, std::size_t rowBytes, std::uint32_t height,
              int bytesPerPixel) {
    const std::size_t stride = rowBytes + 1;
    for (std::uint32_t y = 0; y < height; ++y) {
        std::uint8_t* row = rows.data() + y * stride + 1;
        const std::uint8_t* above = y > 0 ? row - stride : nullptr;
        const int filter = row[-1];
        if (filter > 4) {
            return false;
        }
        for (std::size_t x = 0; x < rowBytes; ++x) {
            const int a = x >= static_cast<std::size_t>(bytesPerPixel) ? row[x - bytesPerPixel] : 0;
            const int b = above != nullptr ? above[x] : 0;
            const int c = above != nullptr && x >= static_cast<std::size_t>(bytesPerPixel)
                              ? above[x - bytesPerPixel]
                              : 0;
            const int predicted = filter == 1   ? a
                                  : filter == 2 ? b
                                  : filter == 3 ? (a + b) / 2
                                  : filter == 4 ? Paeth(a, b, c)
                                                : 0;
            row[x] = static_cast<std::uint8_t>(row[x] + predicted);
        }
    }
    return true;
}

void ToRgba(const std::vector<std::uint8_t>& rows, const THeader& header, TPixmap& out) {
    const std::size_t stride = std::size_t{header.width} * header.channels + 1;
    out.width = static_cast<int>(header.width);
    out.height = static_cast<int>(header.height);
    out.rgba.resize(std::size_t{header.width} * header.height * 4);
    std::uint8_t* to = out.rgba.data();
    for (std::uint32_t y = 0; y < header.height; ++y) {
        const std::uint8_t* from = rows.data() + y * stride + 1;
        for (std::uint32_t x = 0; x < header.width; ++x, from += header.channels, to += 4) {
            const bool grey = header.channels < 3;
            to[0] = from[0];
            to[1] = grey ? from[0] : from[1];
            to[2] = grey ? from[0] : from[2];
            if (header.channels == 2 || header.channels == 4) {
                to[3] = from[header.channels - 1];
            } else {
                const bool transparent = header.keyed && to[0] == header.key[0] &&
                                         (grey || (to[1] == header.key[1] && to[2] == header.key[2]));
                to[3] = transparent ? 0 : 255;
            }
        }
    }
}

// The chunks after the header up to IEND: the image data gathered (its chunks
// must follow one another), the transparent colour read, ancillary chunks
// passed over.
bool ReadBody(TStream& source, THeader& header, std::vector<std::uint8_t>& compressed) {
    bool dataSeen = false;
    bool dataEnded = false;
    TChunk chunk;
    while (ReadChunk(source, chunk)) {
        if (chunk.Is("IEND")) {
            return dataSeen;
        }
        if (chunk.Is("IDAT")) {
            if (dataEnded) {
                return false;
            }
            dataSeen = true;
            compressed.insert(compressed.end(), chunk.data.begin(), chunk.data.end());
            continue;
        }
        dataEnded = dataSeen;
        if (chunk.Is("tRNS")) {
            if (dataSeen || !ReadTransparency(chunk, header)) {
                return false;
            }
        } else if (chunk.Critical() && !chunk.Is("PLTE")) {
            return false;
        }
    }
    return false;
}

} // namespace

bool ReadPngSize(TStream& source, std::uint32_t& width, std::uint32_t& height) {
    // The signature, then the first chunk, which must be the header: its
    // length (13), its type, then width and height, big-endian.
    std::uint8_t start[sizeof kSignature + 16];
    if (!source.TryRead(start, sizeof start) ||
        std::memcmp(start, kSignature, sizeof kSignature) != 0 ||
        std::memcmp(start + 12, "IHDR", 4) != 0) {
        return false;
    }
    width = BigEndian(start + 16);
    height = BigEndian(start + 20);
    return true;
}

bool DecodePng(const std::uint8_t* data, std::size_t size, TPixmap& out, bool& hasAlpha) {
    TStream source(data, size);
    return DecodePng(source, out, hasAlpha);
}

bool DecodePortablePng(TStream& source, TPixmap& out, bool& hasAlpha) {
    std::uint8_t signature[sizeof kSignature];
    TChunk first;
    THeader header;
    if (!source.TryRead(signature, sizeof signature) ||
        std::memcmp(signature, kSignature, sizeof kSignature) != 0 || !ReadChunk(source, first) ||
        !ReadHeader(first, header)) {
        return false;
    }
    std::vector<std::uint8_t> compressed;
    if (!ReadBody(source, header, compressed)) {
        return false;
    }
    const std::size_t rowBytes = std::size_t{header.width} * header.channels;
    const std::size_t expected = (rowBytes + 1) * header.height;
    std::vector<std::uint8_t> rows;
    if (!InflateZlib(compressed.data(), compressed.size(), expected, rows) ||
        rows.size() != expected || !Unfilter(rows, rowBytes, header.height, header.channels)) {
        return false;
    }
    ToRgba(rows, header, out);
    hasAlpha = header.keyed || header.colourType == kGreyAlpha || header.colourType == kRgba;
    return true;
}

} // namespace present

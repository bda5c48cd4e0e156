#include "inflate.h"

#include "checksums.h"

#include <array>

namespace present {

namespace {

constexpr int kMaxCodeBits = 15;
constexpr int kLiteralSymbols = 288;
constexpr int kDistanceSymbols = 30;
constexpr int kEndOfBlock = 256;
constexpr int kFirstLengthSymbol = 257;
constexpr int kLengthSymbols = 29;

constexpr std::array<std::uint16_t, kLengthSymbols> kLengthBase = {
    3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
    31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, kLengthSymbols> kLengthExtra = {
    0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, kDistanceSymbols> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, kDistanceSymbols> kDistanceExtra = {
    0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which a dynamic block lists the code lengths of its code-length code.
constexpr std::array<std::uint8_t, 19> kCodeLengthOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                           11, 4,  12, 3, 13, 2, 14, 1, 15};

// A canonical Huffman code: how many codes have each length, and the symbols
// in code order.
struct THuffman {
    std::array<std::uint16_t, kMaxCodeBits + 1> count{};
    std::array<std::uint16_t, kLiteralSymbols> symbol{};
};

// Builds the code from the lengths of n symbols. A code that claims more codes
// than its lengths allow is refused; so is an incomplete one, except, where
// loneCodeAllowed, a lone code of one bit (an encoder's usual code for a
// single distance). As in zlib, a code of no codes at all is built, and fails
// whatever is decoded with it.
bool BuildHuffman(THuffman& h, const std::uint8_t* lengths, int n, bool loneCodeAllowed = true) {
    h.count.fill(0);
    for (int i = 0; i < n; ++i) {
        ++h.count[lengths[i]];
    }
    if (h.count[0] == n) {
        return true;
    }
    int left = 1;
    int longest = 0;
    for (int len = 1; len <= kMaxCodeBits; ++len) {
        left = left * 2 - h.count[len];
        if (left < 0) {
            return false;
        }
        if (h.count[len] != 0) {
            longest = len;
        }
    }
    if (left > 0 && (longest != 1 || !loneCodeAllowed)) {
        return false;
    }
    std::array<std::uint16_t, kMaxCodeBits + 1> offset{};
    for (int len = 1; len < kMaxCodeBits; ++len) {
        offset[len + 1] = static_cast<std::uint16_t>(offset[len] + h.count[len]);
    }
    for (int i = 0; i < n; ++i) {
        if (lengths[i] != 0) {
            h.symbol[offset[lengths[i]]++] = static_cast<std::uint16_t>(i);
        }
    }
    return true;
}

class TInflater {
public:
    TInflater(const std::uint8_t* bytes, std::size_t length, std::size_t outputLimit,
              std::vector<std::uint8_t>& output)
        : data(bytes), size(length), limit(outputLimit), out(output) {}

    bool Run();

private:
    // The next n bits (n <= 16), first bit lowest; past the end it reads zeros
    // and marks the stream short, which fails it.
    std::uint32_t Bits(int n) {
        while (bitCount < n) {
            if (position >= size) {
                shortStream = true;
                return 0;
            }
            bitBuffer |= static_cast<std::uint32_t>(data[position++]) << bitCount;
            bitCount += 8;
        }
        const std::uint32_t value = bitBuffer & ((1u << n) - 1);
        bitBuffer >>= n;
        bitCount -= n;
        return value;
    }

    // Fewer than 8 bits are ever held back, so dropping them reaches the
    // next byte boundary.
    void AlignToByte() {
        bitBuffer = 0;
        bitCount = 0;
    }

    int Decode(const THuffman& h) {
        int code = 0;
        int first = 0;
        int index = 0;
        for (int len = 1; len <= kMaxCodeBits; ++len) {
            code |= static_cast<int>(Bits(1));
            const int count = h.count[len];
            if (code - count < first) {
                return h.symbol[index + (code - first)];
            }
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        return -1;
    }

    bool Stored();
    bool Codes(const THuffman& literals, const THuffman& distances);
    bool Fixed();
    bool Dynamic();
    bool ReadCodeLengths(std::uint8_t* lengths, int total);
    bool CheckTrailer();

    const std::uint8_t* data;
    std::size_t size;
    std::size_t limit;
    std::vector<std::uint8_t>& out;
    std::size_t position = 0;
    std::uint32_t bitBuffer = 0;
    int bitCount = 0;
    bool shortStream = false;
};

bool TInflater::Stored() {
    AlignToByte();
    if (size - position < 4) {
        return false;
    }
    const unsigned length = data[position] | data[position + 1] << 8;
    const unsigned complement = data[position + 2] | data[position + 3] << 8;
    position += 4;
    if (length != (~complement & 0xffffu) || size - position < length ||
        limit - out.size() < length) {
        return false;
    }
    out.insert(out.end(), data + position, data + position + length);
    position += length;
    return true;
}

bool TInflater::Codes(const THuffman& literals, const THuffman& distances) {
    while (true) {
        const int symbol = Decode(literals);
        if (shortStream || symbol < 0) {
            return false;
        }
        if (symbol < kEndOfBlock) {
            if (out.size() == limit) {
                return false;
            }
            out.push_back(static_cast<std::uint8_t>(symbol));
            continue;
        }
        if (symbol == kEndOfBlock) {
            return true;
        }
        const int lengthIndex = symbol - kFirstLengthSymbol;
        if (lengthIndex >= kLengthSymbols) {
            return false;
        }
        const std::size_t length = kLengthBase[lengthIndex] + Bits(kLengthExtra[lengthIndex]);
        const int distanceSymbol = Decode(distances);
        if (shortStream || distanceSymbol < 0 || distanceSymbol >= kDistanceSymbols) {
            return false;
        }
        const std::size_t distance =
            kDistanceBase[distanceSymbol] + Bits(kDistanceExtra[distanceSymbol]);
        if (shortStream || distance > out.size() || limit - out.size() < length) {
            return false;
        }
        // Byte by byte: a copy may overlap the bytes it is making.
        std::size_t from = out.size() - distance;
        for (std::size_t i = 0; i < length; ++i) {
            out.push_back(out[from++]);
        }
    }
}

bool TInflater::Fixed() {
    static const std::pair<THuffman, THuffman> fixed = [] {
        std::pair<THuffman, THuffman> codes;
        std::array<std::uint8_t, kLiteralSymbols> lengths{};
        for (int i = 0; i < kLiteralSymbols; ++i) {
            lengths[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
        }
        BuildHuffman(codes.first, lengths.data(), kLiteralSymbols);
        // 32 codes of 5 bits, so that the code is complete; the last two
        // name no distance and fail when met.
        lengths.fill(5);
        BuildHuffman(codes.second, lengths.data(), 32);
        return codes;
    }();
    return Codes(fixed.first, fixed.second);
}

// The literal/length and distance code lengths of a dynamic block, run-length
// coded with the code-length code.
bool TInflater::ReadCodeLengths(std::uint8_t* lengths, int total) {
    std::array<std::uint8_t, 19> codeLengths{};
    const int listed = static_cast<int>(Bits(4)) + 4;
    for (int i = 0; i < listed; ++i) {
        codeLengths[kCodeLengthOrder[i]] = static_cast<std::uint8_t>(Bits(3));
    }
    THuffman lengthCode;
    if (shortStream || !BuildHuffman(lengthCode, codeLengths.data(), 19, false)) {
        return false;
    }
    int index = 0;
    while (index < total) {
        const int symbol = Decode(lengthCode);
        if (shortStream || symbol < 0) {
            return false;
        }
        if (symbol < 16) {
            lengths[index++] = static_cast<std::uint8_t>(symbol);
            continue;
        }
        std::uint8_t repeated = 0;
        int times = 0;
        if (symbol == 16) {
            if (index == 0) {
                return false;
            }
            repeated = lengths[index - 1];
            times = 3 + static_cast<int>(Bits(2));
        } else if (symbol == 17) {
            times = 3 + static_cast<int>(Bits(3));
        } else {
            times = 11 + static_cast<int>(Bits(7));
        }
        if (shortStream || index + times > total) {
            return false;
        }
        while (times-- > 0) {
            lengths[index++] = repeated;
        }
    }
    return true;
}

bool TInflater::Dynamic() {
    const int literalCount = static_cast<int>(Bits(5)) + kFirstLengthSymbol;
    const int distanceCount = static_cast<int>(Bits(5)) + 1;
    if (shortStream || literalCount > kFirstLengthSymbol + kLengthSymbols ||
        distanceCount > kDistanceSymbols) {
        return false;
    }
    std::array<std::uint8_t, kLiteralSymbols + kDistanceSymbols> lengths{};
    if (!ReadCodeLengths(lengths.data(), literalCount + distanceCount) ||
        lengths[kEndOfBlock] == 0) {
        return false;
    }
    THuffman literals;
    THuffman distances;
    return BuildHuffman(literals, lengths.data(), literalCount) &&
           BuildHuffman(distances, lengths.data() + literalCount, distanceCount) &&
           Codes(literals, distances);
}

bool TInflater::CheckTrailer() {
    AlignToByte();
    if (size - position != 4) {
        return false;
    }
    const std::uint32_t stored = static_cast<std::uint32_t>(data[position]) << 24 |
                                 static_cast<std::uint32_t>(data[position + 1]) << 16 |
                                 static_cast<std::uint32_t>(data[position + 2]) << 8 |
                                 data[position + 3];
    return stored == Adler32(1, out.data(), out.size());
}

bool TInflater::Run() {
    // The header: method 8 (deflate) with a window of at most 32 KB, the check
    // bits, and no preset dictionary.
    if (size < 2 || (data[0] & 0x0f) != 8 || (data[0] >> 4) > 7 ||
        (data[0] << 8 | data[1]) % 31 != 0 || (data[1] & 0x20) != 0) {
        return false;
    }
    position = 2;
    bool last = false;
    while (!last) {
        last = Bits(1) != 0;
        const std::uint32_t type = Bits(2);
        bool ok = false;
        if (type == 0) {
            ok = Stored();
        } else if (type == 1) {
            ok = Fixed();
        } else if (type == 2) {
            ok = Dynamic();
        }
        if (!ok || shortStream) {
            return false;
        }
    }
    return CheckTrailer();
}

} // namespace

bool InflateZlib(const std::uint8_t* data, std::size_t size, std::size_t limit,
                 std::vector<std::uint8_t>& out) {
    out.clear();
    out.reserve(limit);
    if (data == nullptr) {
        return false;
    }
    return TInflater(data, size, limit, out).Run();
}

} // namespace present

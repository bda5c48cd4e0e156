#include <present/present.h>
#include <present/stream.h>

#include <cstdint>
#include <cstring>

namespace present {

namespace {

std::uint32_t ReadLittleEndian32(TStream& stream) {
    std::uint8_t bytes[4];
    stream.Read(bytes, sizeof bytes);
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

} // namespace

int ReadU8(TStream& stream) {
    std::uint8_t byte = 0;
    stream.Read(&byte, 1);
    return byte;
}

std::int32_t ReadI32(TStream& stream) {
    return static_cast<std::int32_t>(ReadLittleEndian32(stream));
}

// By copy rather than std::bit_cast, which the browser build's library lacks.
float ReadF32(TStream& stream) {
    const std::uint32_t bits = ReadLittleEndian32(stream);
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string ReadChars(TStream& stream, int count) {
    if (count < 0) {
        throw TReadError{"negative character count"};
    }
    std::string text(static_cast<std::size_t>(count), '\0');
    stream.Read(text.data(), text.size());
    return text;
}

// A line ends at a line feed, a NUL or the end of the stream; a stream with
// nothing left gives empty text.
std::string ReadTextLine(TStream& stream) {
    std::string line;
    while (!stream.AtEnd()) {
        const int byte = ReadU8(stream);
        if (byte == 0 || byte == '\n') {
            break;
        }
        if (byte != '\r') {
            line.push_back(static_cast<char>(byte));
        }
    }
    return line;
}

} // namespace present

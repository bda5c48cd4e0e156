// Builds PNG files byte by byte, so tests can make pictures of any colour type
// as well as deliberately damaged ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testpng {

using Bytes = std::vector<std::uint8_t>;

void AppendU32(Bytes& out, std::uint32_t value); // big-endian, as in PNG
void AppendChunk(Bytes& out, const std::string& type, const Bytes& data);
Bytes Signature();
Bytes Header(std::uint32_t width, std::uint32_t height, int bitDepth, int colourType);
Bytes Compress(const Bytes& raw);

// A complete 8-bit picture: colourType 2 (RGB, 3 bytes a pixel) or 6 (RGBA,
// 4 bytes a pixel); pixels row by row, no filter bytes.
Bytes MakePng(int width, int height, int colourType, const Bytes& pixels);

// The chunks of a PNG file in order (type and data), for tests that inspect or
// rewrite a file. Stops at the first malformed chunk.
struct TChunk {
    std::string type;
    Bytes data;
};
std::vector<TChunk> SplitChunks(const Bytes& png);

Bytes ReadFile(const std::string& path);
void WriteFile(const std::string& path, const Bytes& bytes);

} // namespace testpng

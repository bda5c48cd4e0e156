// Reads a PNG file's chunk list and pixels so tests can check the pictures' facts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TPngChunk {
    std::string type;
    std::vector<std::uint8_t> data;
    bool crcValid = false;
};

struct TDecodedPng {
    bool ok = false;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitDepth = 0;
    int colourType = 0;
    int interlace = 0;
    int compression = 0;
    int filter = 0;
    int channels = 0;
    std::vector<std::uint8_t> pixels; // as stored: RGB or RGBA, no padding
};

std::vector<std::uint8_t> ReadBytes(const std::string& path);

// Empty when the signature is wrong or a chunk runs past the end.
std::vector<TPngChunk> ReadChunks(const std::vector<std::uint8_t>& bytes);

TDecodedPng DecodePng(const std::vector<std::uint8_t>& bytes);

// A body file as its bytes say it, field by field, keeping everything the
// engine's loader ignores or trims (padding of names, the reserved word,
// carriage returns in paths, the closing tag, bytes after the end) so that
// it can be written back byte for byte.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace bodytool {

struct TRawImage {
    std::string path; // raw bytes of the line, carriage returns included
    bool nulTerminated = false;
    std::array<std::uint8_t, 3> mask{};
    std::uint8_t flags = 0;
    float anchorX = 0;
    float anchorY = 0;
};

struct TRawMass {
    std::string name; // the 8 bytes of the field
    float x = 0;
    float y = 0;
    float mass = 0;
    float radius = 0;
    float friction = 0;
    std::int32_t group = 0;
    std::uint8_t fixed = 0;
};

struct TRawConstraint {
    std::string name;
    std::int32_t massA = 0;
    std::int32_t massB = 0;
    float stiffness = 0;
};

struct TRawRig {
    std::string name;
    std::int32_t image = 0;
    std::int32_t mass = 0;
    std::int32_t constraint = -1;
    float angle = 0;
};

struct TRawBody {
    std::int32_t reserved = 0;
    std::string name;
    bool hasImages = false;
    std::vector<TRawImage> images;
    std::vector<TRawMass> masses;
    std::vector<TRawConstraint> constraints;
    // The 4 bytes after the constraints: "RIGS" starts the rigs, anything
    // else ends the body.
    bool hasRigs = false;
    std::string endTag;
    std::vector<TRawRig> rigs;
    std::string trailing; // bytes after the last item, ignored by the loader
};

} // namespace bodytool

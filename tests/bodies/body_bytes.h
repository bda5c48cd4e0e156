// Builds body files byte by byte for the tests, and a scratch directory to
// put them in.
#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace bodytest {

class TBytes {
public:
    std::vector<std::uint8_t> data;

    // Byte by byte: GCC 12 sees an overflow in a range insert into an empty
    // vector here that cannot happen, and -Werror makes it fatal.
    TBytes& Raw(const std::string& text) {
        for (const char c : text) {
            data.push_back(static_cast<std::uint8_t>(c));
        }
        return *this;
    }
    TBytes& Tag(const std::string& tag) { return Raw(tag); }
    TBytes& U8(int value) {
        data.push_back(static_cast<std::uint8_t>(value));
        return *this;
    }
    TBytes& I32(std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) {
            data.push_back(static_cast<std::uint8_t>(bits >> shift));
        }
        return *this;
    }
    TBytes& F32(float value) { return I32(std::bit_cast<std::int32_t>(value)); }
    // An 8-byte name field, padded with spaces.
    TBytes& Name(const std::string& name) {
        std::string field = name;
        field.resize(8, ' ');
        return Raw(field);
    }
    TBytes& Mass(const std::string& name, float x, float y, std::int32_t groupCode, int fixed = 0,
                 float weight = 1.0f, float radius = 4.0f, float friction = 0.5f) {
        Name(name).F32(x).F32(y).F32(weight).F32(radius).F32(friction);
        return I32(groupCode).U8(fixed);
    }
    TBytes& Constraint(const std::string& name, std::int32_t a, std::int32_t b, float stiffness) {
        return Name(name).I32(a).I32(b).F32(stiffness);
    }
    TBytes& Image(const std::string& path, int flags, float anchorX, float anchorY) {
        Raw(path).U8(10).U8(255).U8(0).U8(255).U8(flags);
        return F32(anchorX).F32(anchorY);
    }
    TBytes& Rig(const std::string& name, std::int32_t image, std::int32_t mass,
                std::int32_t constraint, float angle) {
        return Name(name).I32(image).I32(mass).I32(constraint).F32(angle);
    }
};

// A fresh directory under the system's temporary directory, removed with
// everything in it on destruction. The current directory is restored too,
// since loading a body file changes it.
class TScratchDir {
public:
    TScratchDir();
    ~TScratchDir();
    TScratchDir(const TScratchDir&) = delete;
    TScratchDir& operator=(const TScratchDir&) = delete;

    std::string Path(const std::string& name) const { return dir + "/" + name; }
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    // A 4 x 2 RGB picture, as a PNG file.
    std::string WritePicture(const std::string& name) const;

    std::string dir;

private:
    std::string startDir;
};

} // namespace bodytest

// Templates: a body file held as plain records, with its images already
// loaded, from which any number of live bodies can be built.
#pragma once

#include "rig.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kinetra {

class TTmpMass;
class TTmpCon;
class TTmpRig;
class TTmpBody;
using TmpMassRef = std::shared_ptr<TTmpMass>;
using TmpConRef = std::shared_ptr<TTmpCon>;
using TmpRigRef = std::shared_ptr<TTmpRig>;
using TmpBodyRef = std::shared_ptr<TTmpBody>;

// Mirrors the first fields of TMass.
class TTmpMass {
public:
    std::string name;
    float x = 0.0f;
    float y = 0.0f;
    float oldX = 0.0f;
    float oldY = 0.0f;
    float mass = 0.0f;
    float radius = 0.0f;
    // The group code as written in the file, not yet resolved: below 0 it is
    // the group plus one, otherwise the index of an earlier mass to share with.
    float group = 0.0f;
    float friction = 0.0f;
    std::int32_t fixed = 0;
    // A float cannot hold every code (16777217 reads as 16777216): the exact
    // code read from the file. It is used while group still equals it as a
    // float; a caller who sets group sets the code.
    std::int32_t groupCode = 0;

    static TmpMassRef Create(float x, float y, float mass, float radius, float friction,
                             float group);
    // The same with the exact code, as the body file gives it.
    static TmpMassRef Create(float x, float y, float mass, float radius, float friction,
                             std::int32_t groupCode);
};

class TTmpCon {
public:
    std::string name;
    std::array<std::int32_t, 2> massIndices{};
    float stiffness = 0.0f;

    static TmpConRef Create(std::int32_t indexA, std::int32_t indexB, float stiffness);
};

class TTmpRig {
public:
    std::string name;
    ImageRef image;
    std::int32_t massIndex = 0;
    // -1: no constraint, the image keeps the rig's angle.
    std::int32_t constraintIndex = -1;
    float angle = 0.0f;

    static TmpRigRef Create(ImageRef image, std::int32_t massIndex, std::int32_t constraintIndex,
                            float angle);
};

class TTmpBody {
public:
    std::string name;
    std::vector<TmpMassRef> masses;
    std::vector<TmpConRef> constraints;
    std::vector<TmpRigRef> rigs;

    // Reads a body file; Null for anything that is not a complete, consistent
    // body file. Changes the current directory to the file's directory.
    static TmpBodyRef Load(const std::string& url);
};

// The code a mass record stands for: groupCode while group is that code as a
// float, otherwise the whole part of group. group must be finite and within
// the int range (CheckTemplate makes sure).
std::int64_t GroupCode(const TTmpMass& record);

// Empty when every index of the template names an existing record (group
// codes an earlier mass, rigs an image), otherwise what is wrong, e.g.
// "constraint 2: mass B index 7 is out of range (3 masses)".
std::string CheckTemplate(const TTmpBody& body);

} // namespace kinetra

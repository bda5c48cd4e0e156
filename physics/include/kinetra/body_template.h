/// @file
/// Templates: a body file held as plain records, with its images already
/// loaded, from which any number of live bodies can be built.
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
using TmpMassRef = std::shared_ptr<TTmpMass>; ///< A mass record, shared.
using TmpConRef = std::shared_ptr<TTmpCon>;   ///< A constraint record, shared.
using TmpRigRef = std::shared_ptr<TTmpRig>;   ///< A rig record, shared.
using TmpBodyRef = std::shared_ptr<TTmpBody>; ///< A template, shared by the bodies built from it.

/// A mass of a template: the first fields of TMass, and the group as the file
/// codes it. Units as TMass's.
class TTmpMass {
public:
    std::string name;    ///< The name, trimmed; "Mass" from Create.
    float x = 0.0f;      ///< Start position, pixels.
    float y = 0.0f;      ///< Start position, pixels, downwards.
    float oldX = 0.0f;   ///< Position a tick before the start: x, at rest.
    float oldY = 0.0f;   ///< Likewise y.
    float mass = 0.0f;   ///< Weight.
    float radius = 0.0f; ///< Collision radius, pixels.
    /// The group code as written in the file, not yet resolved: below 0 it is
    /// the group plus one, otherwise the index of an earlier mass to share with.
    float group = 0.0f;
    float friction = 0.0f;  ///< Friction coefficient.
    std::int32_t fixed = 0; ///< 1 pins the built mass.
    /// A float cannot hold every code (16777217 reads as 16777216): the exact
    /// code read from the file. It is used while group still equals it as a
    /// float; a caller who sets group sets the code.
    std::int32_t groupCode = 0;

    /// A record at rest at (x, y), named "Mass", with the group code as a
    /// float (groupCode 0). Never Null; nothing is validated.
    static TmpMassRef Create(float x, float y, float mass, float radius, float friction,
                             float group);
    /// The same with the exact code, as the body file gives it.
    static TmpMassRef Create(float x, float y, float mass, float radius, float friction,
                             std::int32_t groupCode);
};

/// A constraint of a template: its masses by index into the template's masses.
class TTmpCon {
public:
    std::string name;                          ///< The name, trimmed; empty from Create.
    std::array<std::int32_t, 2> massIndices{}; ///< Indices of its two masses.
    float stiffness = 0.0f;                    ///< Stiffness fraction, 0 to 1.

    /// A record joining masses indexA and indexB; its rest length is their
    /// distance when a body is built. Never Null; indices are checked by
    /// CheckTemplate, not here.
    static TmpConRef Create(std::int32_t indexA, std::int32_t indexB, float stiffness);
};

/// A rig of a template: a loaded picture pinned to a mass by index.
class TTmpRig {
public:
    std::string name;           ///< The name, trimmed; "Rig" from Create.
    ImageRef image;             ///< The picture, shared by every body built from the template.
    std::int32_t massIndex = 0; ///< Index of the mass the picture's anchor is drawn on.
    /// -1: no constraint, the image keeps the rig's angle.
    std::int32_t constraintIndex = -1;
    float angle = 0.0f; ///< Degrees, clockwise, added to the constraint's direction.

    /// A record named "Rig". Never Null; indices are checked by CheckTemplate.
    static TmpRigRef Create(ImageRef image, std::int32_t massIndex, std::int32_t constraintIndex,
                            float angle);
};

/// A body file held as plain records with its images loaded: the template
/// TAdvBody::CreateFromTemplate builds bodies from. Nothing in it is registered.
class TTmpBody {
public:
    std::string name;                   ///< The body's name, trimmed.
    std::vector<TmpMassRef> masses;     ///< In file order.
    std::vector<TmpConRef> constraints; ///< In file order.
    std::vector<TmpRigRef> rigs;        ///< In file order.

    /// Reads a body file; Null for anything that is not a complete, consistent
    /// body file. Changes the current directory to the file's directory.
    static TmpBodyRef Load(const std::string& url);
};

/// The code a mass record stands for: groupCode while group is that code as a
/// float, otherwise the whole part of group. group must be finite and within
/// the int range (CheckTemplate makes sure).
std::int64_t GroupCode(const TTmpMass& record);

/// Empty when every index of the template names an existing record (group
/// codes an earlier mass, rigs an image), otherwise what is wrong, e.g.
/// "constraint 2: mass B index 7 is out of range (3 masses)".
std::string CheckTemplate(const TTmpBody& body);

} // namespace kinetra

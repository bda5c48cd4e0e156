// A two-sided distance constraint between two masses, with a rest length in
// pixels and a stiffness fraction (1 removes the whole error in one Satisfy).
//
// Create does not register; Register (or AddToBody) does, registering both
// masses with it, and the last Unregister unregisters them. The constraint
// holds its two masses for its whole life. GetStretch of a rest length 0 is
// infinite or not a number.
#pragma once

#include "list.h"
#include "refs.h"

#include <array>
#include <cstdint>
#include <string>

namespace kinetra {

class TConstraint : public std::enable_shared_from_this<TConstraint> {
public:
    std::string name;
    std::array<MassRef, 2> masses;
    float length = 0.0f;
    float stiffness = 0.0f;
    TLink link;
    std::int32_t useCount = 0;

    // A length of 0 or less takes the current distance of the two masses.
    // Null when either mass is Null.
    static ConstraintRef Create(MassRef m1, MassRef m2, float length, float stiffness);

    void SetName(const std::string& name);
    void AddToBody(TBody& body);
    void RemoveFromBody(TBody& body);
    void SetLength(float l);
    float GetLength() const { return length; }
    void SetStiffness(float s);
    float GetStiffness() const { return stiffness; }
    float GetAngle() const;
    float GetDistance() const;
    float GetStretch() const;

    // One relaxation toward the rest length.
    void Satisfy();

    // Counted membership of constraintList; the first registration also registers both
    // masses, the last unregistration unregisters them.
    void Register();
    void Unregister();
};

} // namespace kinetra

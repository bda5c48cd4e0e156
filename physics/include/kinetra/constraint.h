/// @file
/// A two-sided distance constraint between two masses, with a rest length in
/// pixels and a stiffness fraction (1 removes the whole error in one Satisfy).
///
/// Create does not register; Register (or AddToBody) does, registering both
/// masses with it, and the last Unregister unregisters them. The constraint
/// holds its two masses for its whole life. GetStretch of a rest length 0 is
/// infinite or not a number.
#pragma once

#include "list.h"
#include "refs.h"

#include <array>
#include <cstdint>
#include <string>

namespace kinetra {

/// A rod between two masses: stretched it pulls them together, compressed it
/// pushes them apart, each moving by the other's share of their weight.
class TConstraint : public std::enable_shared_from_this<TConstraint> {
public:
    std::string name;              ///< A label; the body files give it.
    std::array<MassRef, 2> masses; ///< The first end and the second; never Null after Create.
    float length = 0.0f;           ///< Rest length in pixels.
    /// Fraction of the length error one Satisfy removes, 0 to 1 (above 1
    /// overshoots and can grow without bound).
    float stiffness = 0.0f;
    TLink link;                ///< Its place in constraintList while registered.
    std::int32_t useCount = 0; ///< How many owners have registered it.

    /// A new constraint between m1 and m2, not registered. A length of 0 or
    /// less takes the current distance of the two masses. Null when either
    /// mass is Null.
    static ConstraintRef Create(MassRef m1, MassRef m2, float length, float stiffness);

    /// Sets the label.
    void SetName(const std::string& name);
    /// Appends the constraint to the body's members and registers it, unless
    /// the body already holds it.
    void AddToBody(TBody& body);
    /// Unregisters the constraint and takes it out of the body's members;
    /// nothing when the body does not hold it.
    void RemoveFromBody(TBody& body);
    /// Sets the rest length; the next Satisfy works toward it.
    void SetLength(float l);
    /// The rest length.
    float GetLength() const { return length; }
    /// Sets the stiffness fraction.
    void SetStiffness(float s);
    /// The stiffness fraction.
    float GetStiffness() const { return stiffness; }
    /// Direction from the first end to the second in degrees, in (-180, 180],
    /// clockwise on screen (90 is straight down).
    float GetAngle() const;
    /// The ends' current distance in pixels.
    float GetDistance() const;
    /// GetDistance over the rest length: 1 at rest, above 1 stretched.
    float GetStretch() const;

    /// One relaxation toward the rest length: only the current positions move,
    /// so the correction also changes the masses' velocities. A fixed end
    /// stays and the other takes the whole correction; both fixed, nothing.
    void Satisfy();

    /// Counted membership of constraintList; the first registration also
    /// registers both masses (before the constraint, so that they are listed
    /// first), the last unregistration unregisters them.
    void Register();
    /// One registration less; an unbalanced call does nothing.
    void Unregister();
};

} // namespace kinetra

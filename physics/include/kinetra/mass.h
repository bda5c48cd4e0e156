/// @file
/// A circular point mass integrated by position Verlet; velocity is position minus
/// previous position, per tick (pixels per tick).
///
/// Create makes a mass at rest that is not registered: it is simulated only
/// once registered, by Register or through a constraint (TConstraint::Register,
/// AddToBody). Registration is counted; Unregister of an unregistered mass does
/// nothing. Masses are shared by reference (MassRef): massList, the masses'
/// constraints and a TAdvBody's masses array may each hold one.
///
/// How the moving operations differ:
///
/// | operation | moves x, y | moves oldX, oldY | velocity | on a fixed mass |
/// |---|---|---|---|---|
/// | Push | by (dx, dy) | no | gains (dx, dy) | nothing |
/// | Move | by (dx, dy) | by (dx, dy) | kept | nothing |
/// | SetPosition | to (x, y) | to (x, y) | zero | acts |
/// | SetVelocity | no | to x - vx, y - vy | set to (vx, vy) | acts |
/// | AddVelocity | no | by (-vx, -vy) | gains (vx, vy) | nothing |
#pragma once

#include "list.h"
#include "refs.h"

#include <cstdint>
#include <string>

namespace kinetra {

/// A point mass: the engine's only moving thing. Positions are pixels, x right
/// and y down; the previous position is where the mass was a tick ago.
class TMass : public std::enable_shared_from_this<TMass> {
public:
    std::string name;  ///< A label; the body files give it, "Mass" from Create.
    float x = 0.0f;    ///< Position now, pixels.
    float y = 0.0f;    ///< Position now, pixels, downwards.
    float oldX = 0.0f; ///< Position a tick ago; x - oldX is the velocity.
    float oldY = 0.0f; ///< Position a tick ago; y - oldY is the velocity.
    /// Weight; only ratios of weights matter. Free masses that meet must have a
    /// positive sum of weights.
    float mass = 0.0f;
    float radius = 0.0f; ///< Collision radius in pixels, against walls, zones and masses.
    /// Collision group, a whole number: 0 touches no mass and no zone, masses of
    /// equal groups never touch, any two other groups do.
    float group = 0.0f;
    /// Friction coefficient, averaged with the other side's at every contact.
    float friction = 0.0f;
    /// 1 while pinned: not integrated, not moved by contacts, constraints, Push,
    /// Move or AddVelocity, not tested against zones; the walls still clamp it.
    std::int32_t fixed = 0;
    TLink link;                ///< Its place in massList while registered.
    std::int32_t useCount = 0; ///< How many owners have registered it.

    /// A new mass at (x, y), at rest, not fixed and not registered, named
    /// "Mass". Group -1 takes the next automatic group (-2, -3, ... shared with
    /// zones). Never Null; nothing is validated.
    static MassRef Create(float x, float y, float mass, float radius, float friction, int group);

    /// Sets the label.
    void SetName(const std::string& name);
    /// Adds (dx, dy) to the position only, so the velocity gains (dx, dy) too:
    /// a push. Nothing on a fixed mass.
    void Push(float dx, float dy);
    /// Adds (dx, dy) to both the position and the previous position: a
    /// translation that keeps the velocity. Nothing on a fixed mass.
    void Move(float dx, float dy);
    /// Puts the mass at (x, y) at rest: both positions set, velocity zero. Acts
    /// on a fixed mass too.
    void SetPosition(float x, float y);
    /// The position's x.
    float GetX() const { return x; }
    /// The position's y.
    float GetY() const { return y; }
    /// Sets the weight.
    void SetMass(float m);
    /// Sets the friction coefficient.
    void SetFriction(float f);
    /// Pins the mass where it is and zeroes its velocity.
    void Fix();
    /// Frees the mass; it starts at rest where it was pinned.
    void Unfix();
    /// Sets the velocity to (vx, vy) pixels per tick by moving the previous
    /// position; the position stays. Acts on a fixed mass too.
    void SetVelocity(float vx, float vy);
    /// Adds (vx, vy) to the velocity by moving the previous position; the
    /// position stays. Nothing on a fixed mass.
    void AddVelocity(float vx, float vy);
    /// The group as an integer, truncated toward zero; 0 for a group that is
    /// not a number or beyond the int range.
    int GetGroup() const;
    /// Sets the group; -1 takes the next automatic group.
    void SetGroup(int g);

    /// Counted membership of massList: listed on the first Register, unlisted
    /// on the last Unregister. Without a world the count still moves but
    /// nothing is listed.
    void Register();
    /// One registration less; an unbalanced call does nothing.
    void Unregister();

    /// Resolves an overlap between this mass and other, with friction: the
    /// world's step calls it for each pair whose groups meet. Nothing when both
    /// are fixed or they do not overlap.
    void Collide(TMass& other);
};

} // namespace kinetra

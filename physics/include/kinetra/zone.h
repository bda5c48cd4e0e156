/// @file
/// A static collision shape: open polyline, closed outline or solid polygon at a
/// movable position.
///
/// A zone registers itself in zoneList at Create (when a world exists) and
/// stays there until Remove, or until a new world or DestroyPhysics drops the
/// list; nothing registers it again. It keeps the caller's point array, not a
/// copy. Draw is part of Kinetra::kinetra (it draws on the presentation layer).
///
/// The points may be changed in place between ticks (the tree is only rebuilt by
/// SetDepth or Rotate). Once a zone's points have stayed the same for a tick, the
/// world keeps a copy of them and a 32 x 32 map of where the shape can touch
/// nothing (about 1 KB) to pass over the masses far from it; it is made again
/// whenever the points change, so a shape changed every tick simply goes
/// without. Neither changes any result.
#pragma once

#include "list.h"
#include "refs.h"

#include <cstdint>

namespace kinetra {

/// What a zone's points make. The values are those the engine has always used.
enum class TZoneKind : std::int32_t {
    Open = 0,    ///< An open polyline: masses meet its segments from either side.
    Outline = 1, ///< A closed outline: the segments and the one from the last point to the first.
    Solid = 2,   ///< A solid polygon: a mass inside is pushed out through the nearest edge.
};

/// A static shape masses collide with: a point list (x0, y0, x1, y1, ...) in
/// pixels, relative to the zone's position.
class TZone {
public:
    virtual ~TZone() = default;

    /// The points, shared with the creator, who may change them between ticks;
    /// Rotate writes into them.
    FloatArray points;
    TZoneKind kind = TZoneKind::Open; ///< What the points make; an unknown kind touches nothing.
    float friction = 0.0f;            ///< Averaged with a mass's own at a contact.
    float x = 0.0f;                   ///< Position of the points' origin, pixels.
    float y = 0.0f;                   ///< Likewise, downwards.
    /// Collision group, compared with the masses' as masses compare theirs.
    std::int32_t group = -1;
    /// The quad tree that rejects far masses cheaply; rebuilt by SetDepth and
    /// Rotate only. Null for a shape of fewer than two points.
    QuadTreeRef tree;
    std::int32_t depth = 0; ///< The tree's depth, at most TQuadTree::kMaxDepth.
    TLink link;             ///< Its place in zoneList.

    /// Builds a zone and lists it in zoneList when a world exists; group -1
    /// takes the next automatic group. Null for a Null array, fewer than two
    /// points or an odd count.
    static ZoneRef Create(FloatArray points, TZoneKind kind, float friction, int group, int depth);

    /// Puts the points' origin at (x, y); the tree moves with it.
    void SetPosition(float x, float y);
    /// Moves the points' origin by (dx, dy).
    void Move(float dx, float dy);
    /// Turns the points about their origin by angle degrees, clockwise on
    /// screen, in place, and rebuilds the tree.
    void Rotate(float angle);
    /// Rebuilds the tree to this depth over the current points.
    virtual void SetDepth(int depth);
    /// The shared point array.
    const FloatArray& GetPoints() const { return points; }
    /// The origin's x.
    float GetX() const { return x; }
    /// The origin's y.
    float GetY() const { return y; }

    /// Pushes the mass out of the shape and applies friction.
    void Collide(TMass& mass);

    /// Fills a solid polygon zone in the current colour and outlines it in black.
    void Draw();

    /// Takes the zone out of zoneList for good; nothing registers it again.
    void Remove();
};

} // namespace kinetra

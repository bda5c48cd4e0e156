// A static collision shape: open polyline, closed outline or solid polygon at a
// movable position.
//
// A zone registers itself in zoneList at Create (when a world exists) and
// stays there until Remove, or until a new world or DestroyPhysics drops the
// list; nothing registers it again. It keeps the caller's point array, not a
// copy. Draw is part of Kinetra::kinetra (it draws on the presentation layer).
//
// The points may be changed in place between ticks (the tree is only rebuilt by
// SetDepth or Rotate). Once a zone's points have stayed the same for a tick, the
// world keeps a copy of them and a 32 x 32 map of where the shape can touch
// nothing (about 1 KB) to pass over the masses far from it; it is made again
// whenever the points change, so a shape changed every tick simply goes
// without. Neither changes any result.
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

class TZone {
public:
    virtual ~TZone() = default;

    FloatArray points; // shared with the creator; Rotate writes into it
    TZoneKind kind = TZoneKind::Open;
    float friction = 0.0f;
    float x = 0.0f;
    float y = 0.0f;
    std::int32_t group = -1;
    QuadTreeRef tree;
    std::int32_t depth = 0;
    TLink link;

    // Builds and registers a zone; Null for fewer than two points or an odd count.
    static ZoneRef Create(FloatArray points, TZoneKind kind, float friction, int group, int depth);

    void SetPosition(float x, float y);
    void Move(float dx, float dy);
    void Rotate(float angle);
    virtual void SetDepth(int depth);
    const FloatArray& GetPoints() const { return points; }
    float GetX() const { return x; }
    float GetY() const { return y; }

    // Pushes the mass out of the shape and applies friction.
    void Collide(TMass& mass);

    // Fills a solid polygon zone in the current colour and outlines it in black.
    void Draw();

    void Remove();
};

} // namespace kinetra

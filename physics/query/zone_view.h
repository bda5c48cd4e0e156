// A zone as the questions see it: its segments where it stands, the box of its tree,
// and for a solid its inside by the tick's winding rule. The points are placed by the
// same float sums the tick makes (the zone's x or y plus the point's), so that a
// question and a contact agree on where the shape is.
#pragma once

#include "geometry.h"
#include <kinetra/zone.h>

#include <cstddef>
#include <optional>
#include <vector>

namespace kinetra {

class TZone;

struct TZoneView {
    const std::vector<float>& p;
    std::size_t n; // points
    float x, y;
    TZoneKind kind;
    TBox box; // the tree's root cell, shifted to where the zone stands

    // Calls f(ax, ay, bx, by) for each segment in order until it returns true; true
    // when one did.
    template <class F> bool AnySegment(F f) const {
        float ax = x + p[2 * n - 2];
        float ay = y + p[2 * n - 1];
        for (std::size_t i = 0; i < n; ++i) {
            const float bx = x + p[2 * i];
            const float by = y + p[2 * i + 1];
            // An open line has no closing segment.
            if ((i > 0 || kind != TZoneKind::Open) && f(double{ax}, double{ay}, double{bx}, double{by})) {
                return true;
            }
            ax = bx;
            ay = by;
        }
        return false;
    }

    // Whether a solid holds the point.
    bool Holds(float px, float py) const;
};

// The zone's view, or nothing where a question of the given group passes over it or
// it touches nothing in the tick (no tree, no shape, another kind).
std::optional<TZoneView> ViewZone(const TZone& zone, int group);

// Whether a question of the given group passes over an object of objectGroup.
inline bool PassesOver(double objectGroup, int group) {
    return group != 0 && objectGroup == group;
}

} // namespace kinetra

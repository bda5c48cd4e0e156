#include "zone_contact.h"

#include "mass_state.h"
#include "speed_along.h"
#include <kinetra/zone.h>

#include <algorithm>
#include <cmath>
#include <optional>

namespace kinetra {

namespace {

constexpr float kFarAway = 1.0e38f;
constexpr float kMinimumDistance = 0.0001f;
constexpr float kFrictionFactor = 0.5f;
// See OutOfReach.
constexpr float kReachSlack = 0x1p-18f;
constexpr float kSmallestSlack = 1.0e-6f;

// A zone's points where it stands: segment i runs from point i - 1 (the last point for
// i = 0) to point i; an open line has no segment 0.
struct TShape {
    const std::vector<float>& p;
    std::size_t n;
    float x, y;
    bool open;
};

// The point of the shape nearest to the mass, and its squared distance.
struct TNearest {
    float d2 = kFarAway;
    float x = 0.0f;
    float y = 0.0f;
};

// The push that takes the mass out: along the unit normal (nx, ny), by -depth.
struct TPushOut {
    float nx, ny, depth;
};

// Whether the segment from a to b lies so far from (mx, my), on either axis, that the
// distance the contact computes to it, rounding and all, is at least r: then, outside
// a shape, it can neither be the nearest point of a push nor make one, and is passed
// over. The float sums below stay within a few units of 2^-24 of the values they stand
// for, far less than the slack of 2^-18 of every magnitude involved; a NaN or infinite
// value leaves nothing out of reach.
bool OutOfReach(float ax, float ay, float bx, float by, float mx, float my, float r,
                float massScale) {
    const float gap = std::max(std::max(std::min(ax, bx) - mx, mx - std::max(ax, bx)),
                               std::max(std::min(ay, by) - my, my - std::max(ay, by)));
    const float magnitudes =
        massScale + std::fabs(ax) + std::fabs(bx) + std::fabs(ay) + std::fabs(by);
    return gap > r + (magnitudes * kReachSlack + kSmallestSlack);
}

// Keeps the nearest point of the segment from a to b to (mx, my) where it is nearer
// than the best so far.
void NearerOnSegment(float ax, float ay, float bx, float by, float mx, float my, TNearest& best) {
    const float ex = bx - ax;
    const float ey = by - ay;
    float t = (ex * (mx - ax) + ey * (my - ay)) / (ex * ex + ey * ey);
    if (!(t >= 0.0f)) {
        t = 0.0f;
    }
    if (!(t <= 1.0f)) {
        t = 1.0f;
    }
    const float px = (1.0f - t) * ax + t * bx;
    const float py = (1.0f - t) * ay + t * by;
    const float d2 = (mx - px) * (mx - px) + (my - py) * (my - py);
    if (!(d2 >= best.d2)) {
        best = {d2, px, py};
    }
}

// The nearest point over the segments; outside, only those within reach of the mass.
TNearest FindNearest(const TShape& s, const TMassState& m, bool inside) {
    TNearest best;
    const float massScale = std::fabs(m.radius) + std::fabs(m.x) + std::fabs(m.y);
    float ax = s.x + s.p[2 * s.n - 2];
    float ay = s.y + s.p[2 * s.n - 1];
    for (std::size_t i = 0; i < s.n; ++i) {
        const float bx = s.x + s.p[2 * i];
        const float by = s.y + s.p[2 * i + 1];
        if ((i > 0 || !s.open) &&
            (inside || !OutOfReach(ax, ay, bx, by, m.x, m.y, m.radius, massScale))) {
            NearerOnSegment(ax, ay, bx, by, m.x, m.y, best);
        }
        ax = bx;
        ay = by;
    }
    return best;
}

// The push out of the shape, or nothing where the mass clears it: inside a solid the
// mass goes to the nearest point and a radius beyond, outside it keeps a radius away.
std::optional<TPushOut> PushOut(const TNearest& nearest, const TMassState& m, bool inside) {
    float dist = std::sqrt(nearest.d2);
    if (!(dist >= kMinimumDistance)) {
        dist = kMinimumDistance;
    }
    TPushOut push{};
    if (inside) {
        push = {(nearest.x - m.x) / dist, (nearest.y - m.y) / dist, -dist - m.radius};
    } else {
        push = {(m.x - nearest.x) / dist, (m.y - nearest.y) / dist, dist - m.radius};
    }
    if (push.depth >= 0.0f) {
        return std::nullopt;
    }
    return push;
}

// Takes up to limit of the mass's sliding along the surface: a solid holds the mass
// back where it is, a line or outline slows its velocity.
void SlowSliding(TMassState& m, const TPushOut& push, float limit, bool solid) {
    const float vx = m.x - m.oldX;
    const float vy = m.y - m.oldY;
    const float speed = std::sqrt(vx * vx + vy * vy);
    TDirection normal(push.nx, push.ny);
    const float vn = SpeedAlong(vx, vy, speed, normal);
    const float tx = vx - push.nx * vn;
    const float ty = vy - push.ny * vn;
    const float tl = std::sqrt(tx * tx + ty * ty);
    float sx = tx;
    float sy = ty;
    if (limit < tl) {
        sx = tx / tl * limit;
        sy = ty / tl * limit;
    }
    if (solid) {
        m.x -= sx;
        m.y -= sy;
    } else {
        m.oldX += sx;
        m.oldY += sy;
    }
}

} // namespace

// The rule is the quarter-turn count: each point gets the quadrant round the centre it
// lies in (right where x >= mx, below where y >= my), each step adds the change of
// quadrant taken the short way (a step to the opposite quadrant passes left of the
// centre where the edge meets the line y = my at an xc short of mx, else right), and
// the polygon winds round the centre when the total is a whole turn, 4 or -4.
//
// That total is always four times the net number of times the outline steps across
// the line to the left of the centre (from left-below to left-above counts +1, the
// other way -1), since a turn of the quadrants passes that boundary once. So only the
// edges with one end below and one not can count, and the same comparisons and the
// same xc decide which do: the result is the quarter-turn count's, NaN ends included
// (a NaN x is never right, a NaN y never below).
bool Winds(const std::vector<float>& p, std::size_t n, float ox, float oy, float mx, float my) {
    int crossings = 0;
    float ax = ox + p[2 * n - 2];
    float ay = oy + p[2 * n - 1];
    bool aBelow = ay >= my;
    for (std::size_t i = 0; i < n; ++i) {
        const float bx = ox + p[2 * i];
        const float by = oy + p[2 * i + 1];
        const bool bBelow = by >= my;
        if (aBelow != bBelow) {
            const bool aLeft = !(ax >= mx);
            const bool bLeft = !(bx >= mx);
            bool crosses = aLeft && bLeft;
            if (aLeft != bLeft) {
                const float xc = bx - (by - my) * (ax - bx) / (ay - by);
                crosses = !(xc >= mx);
            }
            if (crosses) {
                crossings += aBelow ? 1 : -1;
            }
        }
        ax = bx;
        ay = by;
        aBelow = bBelow;
    }
    return crossings == 1 || crossings == -1;
}

bool ResolveZoneContact(const TZone& zone, TMassState& m, TPush* report) {
    const TZoneKind kind = zone.kind;
    if (kind < TZoneKind::Open || kind > TZoneKind::Solid || !zone.points ||
        zone.points->size() < 4) {
        return false;
    }
    const TShape shape{*zone.points, zone.points->size() / 2, zone.x, zone.y,
                       kind == TZoneKind::Open};
    const bool solid = kind == TZoneKind::Solid;
    // A solid polygon holds the mass when it winds round the mass centre.
    const bool inside = solid && Winds(shape.p, shape.n, shape.x, shape.y, m.x, m.y);
    // Outside, a mass without radius cannot reach the outline: the distance is at
    // least kMinimumDistance, so the segments need not be searched.
    if (!inside && m.radius <= 0.0f) {
        return false;
    }
    const std::optional<TPushOut> push = PushOut(FindNearest(shape, m, inside), m, inside);
    if (!push) {
        return false;
    }
    const float limit = -push->depth * (zone.friction + m.friction) * kFrictionFactor;
    if (report) {
        report->speed = -((m.x - m.oldX) * push->nx + (m.y - m.oldY) * push->ny);
    }
    m.x -= push->nx * push->depth;
    m.y -= push->ny * push->depth;
    if (report) {
        *report = {m.x, m.y, push->nx, push->ny, report->speed};
    }
    SlowSliding(m, *push, limit, solid);
    return true;
}

} // namespace kinetra

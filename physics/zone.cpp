#include <kinetra/zone.h>

#include "degrees.h"
#include "speed_along.h"
#include "zone_contact.h"
#include <kinetra/mass.h>
#include <kinetra/quadtree.h>
#include <kinetra/world.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace kinetra {

namespace {

constexpr float treeMargin = 1.0f;
constexpr float treeGrowth = 2.0f;
constexpr float farAway = 1.0e38f;
constexpr float minimumDistance = 0.0001f;
constexpr float frictionFactor = 0.5f;
// See OutOfReach.
constexpr float reachSlack = 0x1p-18f;
constexpr float smallestSlack = 1.0e-6f;

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
    return gap > r + (magnitudes * reachSlack + smallestSlack);
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

ZoneRef TZone::Create(FloatArray points, int kind, float friction, int group, int depth) {
    if (!points || points->size() < 4 || points->size() % 2 != 0) {
        return nullptr;
    }
    auto zone = std::make_shared<TZone>();
    zone->points = std::move(points);
    zone->kind = kind;
    zone->friction = friction;
    zone->group = group == -1 ? TakeAutoGroup() : group;
    if (zoneList) {
        zone->link = zoneList->Append(zone);
    }
    zone->SetDepth(depth);
    return zone;
}

void TZone::SetPosition(float newX, float newY) {
    x = newX;
    y = newY;
}

void TZone::Move(float dx, float dy) {
    x += dx;
    y += dy;
}

void TZone::Rotate(float angle) {
    if (!points) {
        return;
    }
    auto& p = *points;
    for (std::size_t i = 0; i + 1 < p.size(); i += 2) {
        const float r = std::sqrt(p[i] * p[i] + p[i + 1] * p[i + 1]);
        const double a = Atan2Degrees(p[i + 1], p[i]) + angle;
        p[i] = static_cast<float>(CosDegrees(a) * r);
        p[i + 1] = static_cast<float>(SinDegrees(a) * r);
    }
    SetDepth(depth);
}

void TZone::SetDepth(int newDepth) {
    depth = newDepth;
    // The caller may have shrunk the shared array; a shape needs two points.
    if (!points || points->size() < 4) {
        tree = nullptr;
        return;
    }
    const auto& p = *points;
    float minX = p[0];
    float maxX = p[0];
    float minY = p[1];
    float maxY = p[1];
    for (std::size_t i = 2; i + 1 < p.size(); i += 2) {
        minX = std::fmin(minX, p[i]);
        minY = std::fmin(minY, p[i + 1]);
        maxX = std::fmax(maxX, p[i]);
        maxY = std::fmax(maxY, p[i + 1]);
    }
    tree = TQuadTree::Build(p, kind, minX - treeMargin, minY - treeMargin,
                            (maxX - minX) + treeGrowth, (maxY - minY) + treeGrowth, depth);
}

void TZone::Collide(TMass& m) {
    const float r = m.radius;
    if (tree && tree->Overlaps(x, y, m.x - r, m.y - r, r + r)) {
        ResolveZoneContact(*this, m);
    }
}

void ResolveZoneContact(TZone& zone, TMass& m) {
    const int kind = zone.kind;
    if (kind < 0 || kind > 2 || !zone.points) {
        return;
    }
    const float x = zone.x;
    const float y = zone.y;
    const float r = m.radius;
    const auto& p = *zone.points;
    const std::size_t n = p.size() / 2;
    if (n < 2) {
        return;
    }
    const bool solid = kind == 2;

    // A solid polygon holds the mass when it winds round the mass centre.
    const bool inside = solid && Winds(p, n, x, y, m.x, m.y);
    // Outside, a mass without radius cannot reach the outline: the distance below is
    // at least minimumDistance, so the segments need not be searched.
    if (!inside && r <= 0.0f) {
        return;
    }

    // Nearest point over the segments. Segment i runs from point i - 1 (the last point
    // for i = 0) to point i; an open line has no segment 0.
    float best = farAway;
    float cx = 0.0f;
    float cy = 0.0f;
    const float massScale = std::fabs(r) + std::fabs(m.x) + std::fabs(m.y);
    float ax = x + p[2 * n - 2];
    float ay = y + p[2 * n - 1];
    for (std::size_t i = 0; i < n; ++i) {
        const float bx = x + p[2 * i];
        const float by = y + p[2 * i + 1];
        if ((i > 0 || kind != 0) &&
            (inside || !OutOfReach(ax, ay, bx, by, m.x, m.y, r, massScale))) {
            const float ex = bx - ax;
            const float ey = by - ay;
            float t = (ex * (m.x - ax) + ey * (m.y - ay)) / (ex * ex + ey * ey);
            if (!(t >= 0.0f)) {
                t = 0.0f;
            }
            if (!(t <= 1.0f)) {
                t = 1.0f;
            }
            const float px = (1.0f - t) * ax + t * bx;
            const float py = (1.0f - t) * ay + t * by;
            const float d2 = (m.x - px) * (m.x - px) + (m.y - py) * (m.y - py);
            if (!(d2 >= best)) {
                best = d2;
                cx = px;
                cy = py;
            }
        }
        ax = bx;
        ay = by;
    }

    float dist = std::sqrt(best);
    if (!(dist >= minimumDistance)) {
        dist = minimumDistance;
    }
    float nx, ny, pen;
    if (inside) {
        nx = (cx - m.x) / dist;
        ny = (cy - m.y) / dist;
        pen = -dist - r;
    } else {
        nx = (m.x - cx) / dist;
        ny = (m.y - cy) / dist;
        pen = dist - r;
    }
    if (pen >= 0.0f) {
        return;
    }

    const float limit = -pen * (zone.friction + m.friction) * frictionFactor;
    m.x -= nx * pen;
    m.y -= ny * pen;
    const float vx = m.x - m.oldX;
    const float vy = m.y - m.oldY;
    const float speed = std::sqrt(vx * vx + vy * vy);
    TDirection normal(nx, ny);
    const float vn = SpeedAlong(vx, vy, speed, normal);
    const float tx = vx - nx * vn;
    const float ty = vy - ny * vn;
    const float tl = std::sqrt(tx * tx + ty * ty);
    if (solid) {
        if (limit < tl) {
            m.x -= tx / tl * limit;
            m.y -= ty / tl * limit;
        } else {
            m.x -= tx;
            m.y -= ty;
        }
    } else {
        if (limit < tl) {
            m.oldX += tx / tl * limit;
            m.oldY += ty / tl * limit;
        } else {
            m.oldX += tx;
            m.oldY += ty;
        }
    }
}

void TZone::Remove() {
    if (zoneList) {
        zoneList->Remove(link);
    }
    link.Reset();
}

} // namespace kinetra

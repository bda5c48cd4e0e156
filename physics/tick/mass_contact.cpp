#include "mass_contact.h"

#include "mass_state.h"
#include "speed_along.h"

#include <cmath>
#include <optional>

namespace kinetra {

namespace {

constexpr float kMinimumDistance = 0.0001f;
constexpr float kHalf = 0.5f;

struct TVec {
    float x, y;
};

// How two masses overlap: the unit normal from b to a, and the gap between their
// circles, which is negative.
struct TOverlap {
    TDirection normal;
    float gap;
};

// Nothing where the masses lie apart, or exactly touch. Two masses at one point have a
// zero normal: the distance is floored, so they are not pushed apart.
std::optional<TOverlap> FindOverlap(const TMassState& a, const TMassState& b) {
    const float reach = a.radius + b.radius;
    if (std::fabs(b.x - a.x) > reach || std::fabs(b.y - a.y) > reach) {
        return std::nullopt;
    }
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    float d = std::sqrt(dx * dx + dy * dy);
    if (!(d >= kMinimumDistance)) {
        d = kMinimumDistance;
    }
    const float gap = d - reach;
    if (gap >= 0.0f) {
        return std::nullopt;
    }
    return TOverlap{TDirection(dx / d, dy / d), gap};
}

// The part of a mass's velocity across the normal n.
TVec TangentialVelocity(const TMassState& m, TDirection& n) {
    const float vx = m.x - m.oldX;
    const float vy = m.y - m.oldY;
    const float speed = std::sqrt(vx * vx + vy * vy);
    const float s = SpeedAlong(vx, vy, speed, n);
    return {vx - s * n.x, vy - s * n.y};
}

float Length(TVec v) {
    return std::sqrt(v.x * v.x + v.y * v.y);
}

// Takes up to budget of the sliding velocity t of m by moving its previous position.
void SlowDown(TMassState& m, TVec t, float budget) {
    const float tl = Length(t);
    if (budget >= tl) {
        m.oldX += t.x;
        m.oldY += t.y;
    } else {
        m.oldX += budget * t.x / tl;
        m.oldY += budget * t.y / tl;
    }
}

// Moves two free masses apart by the correction c, each by the other's share of
// their weight, so that together they remove the whole overlap.
void SeparateByWeight(TMassState& a, TMassState& b, TVec c) {
    const float total = a.mass + b.mass;
    const float shareA = b.mass / total;
    const float shareB = a.mass / total;
    a.x -= c.x * shareA;
    a.y -= c.y * shareA;
    b.x += c.x * shareB;
    b.y += c.y * shareB;
}

// Moves the sliding of two free masses toward their mean by up to budget each: half
// their relative sliding velocity, which ends it when the budget is larger.
void SlideTogether(TMassState& a, TMassState& b, TDirection& n, float budget) {
    const TVec ta = TangentialVelocity(a, n);
    const TVec tb = TangentialVelocity(b, n);
    const TVec r{ta.x - (ta.x + tb.x) * kHalf, ta.y - (ta.y + tb.y) * kHalf};
    const float rl = Length(r);
    TVec k = r;
    if (!(budget >= rl)) {
        k = {budget * r.x / rl, budget * r.y / rl};
    }
    a.oldX += k.x;
    a.oldY += k.y;
    b.oldX -= k.x;
    b.oldY -= k.y;
}

template <bool kReporting>
bool Resolve(TMassState& a, TMassState& b, TPush* report) {
    if (a.fixed && b.fixed) {
        return false;
    }
    std::optional<TOverlap> overlap = FindOverlap(a, b);
    if (!overlap) {
        return false;
    }
    TDirection& n = overlap->normal;
    if constexpr (kReporting) {
        report->speed =
            -(((a.x - a.oldX) - (b.x - b.oldX)) * n.x + ((a.y - a.oldY) - (b.y - b.oldY)) * n.y);
    }
    // The correction points from a toward b, as long as the overlap.
    const TVec c{n.x * overlap->gap, n.y * overlap->gap};
    const float budget = -overlap->gap * (a.friction + b.friction) * kHalf;
    if (b.fixed) {
        a.x -= c.x;
        a.y -= c.y;
        SlowDown(a, TangentialVelocity(a, n), budget);
    } else if (a.fixed) {
        b.x += c.x;
        b.y += c.y;
        SlowDown(b, TangentialVelocity(b, n), budget);
    } else {
        SeparateByWeight(a, b, c);
        SlideTogether(a, b, n, budget);
    }
    if constexpr (kReporting) {
        // Friction here only moves previous positions: a is where the push left it.
        report->x = a.x;
        report->y = a.y;
        report->nx = n.x;
        report->ny = n.y;
    }
    return true;
}

} // namespace

bool ResolveMassContact(TMassState& a, TMassState& b) {
    return Resolve<false>(a, b, nullptr);
}

bool ResolveMassContact(TMassState& a, TMassState& b, TPush& report) {
    return Resolve<true>(a, b, &report);
}

} // namespace kinetra

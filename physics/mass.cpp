#include <kinetra/mass.h>

#include "speed_along.h"
#include <kinetra/world.h>

#include <cmath>

namespace kinetra {

namespace {

constexpr float minimumDistance = 0.0001f;
constexpr float half = 0.5f;

struct Vec {
    float x, y;
};

// The part of a mass's velocity across the normal n.
Vec TangentialVelocity(const TMass& m, TDirection& n) {
    const float vx = m.x - m.oldX;
    const float vy = m.y - m.oldY;
    const float speed = std::sqrt(vx * vx + vy * vy);
    const float s = SpeedAlong(vx, vy, speed, n);
    return {vx - s * n.x, vy - s * n.y};
}

float Length(Vec v) {
    return std::sqrt(v.x * v.x + v.y * v.y);
}

// Takes up to budget of the sliding velocity t of m by moving its previous position.
void SlowDown(TMass& m, Vec t, float budget) {
    const float tl = Length(t);
    if (budget >= tl) {
        m.oldX += t.x;
        m.oldY += t.y;
    } else {
        m.oldX += budget * t.x / tl;
        m.oldY += budget * t.y / tl;
    }
}

} // namespace

MassRef TMass::Create(float x, float y, float mass, float radius, float friction, int group) {
    auto m = std::make_shared<TMass>();
    m->name = "Mass";
    m->x = m->oldX = x;
    m->y = m->oldY = y;
    m->mass = mass;
    m->radius = radius;
    m->friction = friction;
    m->SetGroup(group);
    return m;
}

void TMass::SetName(const std::string& newName) {
    name = newName;
}

void TMass::Push(float dx, float dy) {
    if (fixed) {
        return;
    }
    x += dx;
    y += dy;
}

void TMass::Move(float dx, float dy) {
    if (fixed) {
        return;
    }
    x += dx;
    oldX += dx;
    y += dy;
    oldY += dy;
}

void TMass::SetPosition(float newX, float newY) {
    x = oldX = newX;
    y = oldY = newY;
}

void TMass::SetMass(float m) {
    mass = m;
}

void TMass::SetFriction(float f) {
    friction = f;
}

void TMass::Fix() {
    oldX = x;
    oldY = y;
    fixed = 1;
}

void TMass::Unfix() {
    fixed = 0;
}

void TMass::SetVelocity(float vx, float vy) {
    oldX = x - vx;
    oldY = y - vy;
}

void TMass::AddVelocity(float vx, float vy) {
    if (fixed) {
        return;
    }
    oldX -= vx;
    oldY -= vy;
}

int TMass::GetGroup() const {
    // Out-of-range or NaN groups cannot name a group; they read as 0.
    if (!(group > -2147483648.0f && group < 2147483648.0f)) {
        return 0;
    }
    return static_cast<int>(group);
}

void TMass::SetGroup(int g) {
    group = static_cast<float>(g == -1 ? TakeAutoGroup() : g);
}

void TMass::Register() {
    if (useCount == 0 && massList) {
        if (auto self = weak_from_this().lock()) {
            link = massList->Append(self);
        }
    }
    ++useCount;
}

void TMass::Unregister() {
    // An unbalanced call would drive the count negative and keep the next Register
    // from listing the mass.
    if (useCount <= 0) {
        return;
    }
    --useCount;
    if (useCount == 0 && massList) {
        massList->Remove(link);
    }
}

void TMass::Collide(TMass& other) {
    TMass& a = *this;
    TMass& b = other;
    if (a.fixed && b.fixed) {
        return;
    }
    const float reach = a.radius + b.radius;
    if (std::fabs(b.x - a.x) > reach || std::fabs(b.y - a.y) > reach) {
        return;
    }
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    float d = std::sqrt(dx * dx + dy * dy);
    if (!(d >= minimumDistance)) {
        d = minimumDistance;
    }
    TDirection n(dx / d, dy / d);
    const float p = d - reach;
    if (p >= 0.0f) {
        return;
    }
    const Vec c{n.x * p, n.y * p};
    const float budget = -p * (a.friction + b.friction) * half;

    if (b.fixed) {
        a.x -= c.x;
        a.y -= c.y;
        SlowDown(a, TangentialVelocity(a, n), budget);
        return;
    }
    if (a.fixed) {
        b.x += c.x;
        b.y += c.y;
        SlowDown(b, TangentialVelocity(b, n), budget);
        return;
    }
    const float total = a.mass + b.mass;
    const float shareA = b.mass / total;
    const float shareB = a.mass / total;
    a.x -= c.x * shareA;
    a.y -= c.y * shareA;
    b.x += c.x * shareB;
    b.y += c.y * shareB;
    const Vec ta = TangentialVelocity(a, n);
    const Vec tb = TangentialVelocity(b, n);
    const Vec r{ta.x - (ta.x + tb.x) * half, ta.y - (ta.y + tb.y) * half};
    const float rl = Length(r);
    if (budget >= rl) {
        a.oldX += r.x;
        a.oldY += r.y;
        b.oldX -= r.x;
        b.oldY -= r.y;
    } else {
        const float kx = budget * r.x / rl;
        const float ky = budget * r.y / rl;
        a.oldX += kx;
        a.oldY += ky;
        b.oldX -= kx;
        b.oldY -= ky;
    }
}

} // namespace kinetra

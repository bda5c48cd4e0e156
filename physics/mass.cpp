#include <kinetra/mass.h>

#include "tick/mass_contact.h"
#include "tick/mass_state.h"
#include <kinetra/world.h>


namespace kinetra {

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
    TMassState a = StateOf(*this);
    TMassState b = StateOf(other);
    ResolveMassContact(a, b);
    GivePosition(a, *this);
    GivePosition(b, other);
}

} // namespace kinetra

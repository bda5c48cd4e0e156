#include <kinetra/constraint.h>

#include <kinetra/body.h>
#include "degrees.h"
#include <kinetra/mass.h>
#include <kinetra/world.h>

#include <cmath>

namespace kinetra {

namespace {

constexpr float minimumDistance = 0.0001f;

} // namespace

ConstraintRef TConstraint::Create(MassRef m1, MassRef m2, float length, float stiffness) {
    if (!m1 || !m2) {
        return nullptr;
    }
    auto c = std::make_shared<TConstraint>();
    c->masses = {std::move(m1), std::move(m2)};
    c->length = length > 0.0f ? length : c->GetDistance();
    c->stiffness = stiffness;
    return c;
}

void TConstraint::SetName(const std::string& newName) {
    name = newName;
}

void TConstraint::AddToBody(TBody& body) {
    if (body.members.Contains(this)) {
        return;
    }
    auto self = weak_from_this().lock();
    if (!self) {
        return;
    }
    body.members.Append(std::move(self));
    Register();
}

void TConstraint::RemoveFromBody(TBody& body) {
    const TLink member = body.members.Find(this);
    if (!member) {
        return;
    }
    Unregister();
    body.members.Remove(member);
}

void TConstraint::SetLength(float l) {
    length = l;
}

void TConstraint::SetStiffness(float s) {
    stiffness = s;
}

float TConstraint::GetAngle() const {
    if (!masses[0] || !masses[1]) {
        return 0.0f;
    }
    const TMass& a = *masses[0];
    const TMass& b = *masses[1];
    const float angle = static_cast<float>(Atan2Degrees(b.y - a.y, b.x - a.x));
    // A negative zero height would give -180; straight to the left is 180.
    return angle == -180.0f ? 180.0f : angle;
}

float TConstraint::GetDistance() const {
    if (!masses[0] || !masses[1]) {
        return 0.0f;
    }
    const TMass& a = *masses[0];
    const TMass& b = *masses[1];
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

float TConstraint::GetStretch() const {
    return GetDistance() / length;
}

void TConstraint::Satisfy() {
    if (!masses[0] || !masses[1]) {
        return;
    }
    TMass& a = *masses[0];
    TMass& b = *masses[1];
    if (a.fixed && b.fixed) {
        return;
    }
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    float d = std::sqrt(dx * dx + dy * dy);
    if (!(d >= minimumDistance)) {
        d = minimumDistance;
    }
    const float e = (d - length) * stiffness;
    const float ux = dx / d;
    const float uy = dy / d;
    if (a.fixed) {
        b.x += ux * e;
        b.y += uy * e;
    } else if (b.fixed) {
        a.x -= ux * e;
        a.y -= uy * e;
    } else {
        const float total = a.mass + b.mass;
        const float shareA = b.mass / total;
        const float shareB = a.mass / total;
        a.x -= ux * e * shareA;
        a.y -= uy * e * shareA;
        b.x += ux * e * shareB;
        b.y += uy * e * shareB;
    }
}

void TConstraint::Register() {
    if (useCount == 0) {
        for (const auto& m : masses) {
            if (m) {
                m->Register();
            }
        }
        if (constraintList) {
            if (auto self = weak_from_this().lock()) {
                link = constraintList->Append(self);
            }
        }
    }
    ++useCount;
}

void TConstraint::Unregister() {
    if (useCount <= 0) {
        return;
    }
    --useCount;
    if (useCount == 0) {
        for (const auto& m : masses) {
            if (m) {
                m->Unregister();
            }
        }
        if (constraintList) {
            constraintList->Remove(link);
        }
    }
}

} // namespace kinetra

#include <kinetra/constraint.h>

#include <kinetra/body.h>
#include "degrees.h"
#include "tick/constraint_pass.h"
#include <kinetra/mass.h>
#include <kinetra/world.h>

#include <cmath>

namespace kinetra {

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
    TMassState a = StateOf(*masses[0]);
    TMassState b = StateOf(*masses[1]);
    RelaxConstraint(a, b, length, stiffness);
    GivePosition(a, *masses[0]);
    // The same mass at both ends keeps what the relaxation made of it.
    if (masses[1] != masses[0]) {
        GivePosition(b, *masses[1]);
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

#include <kinetra/adv_body.h>
#include "build_body.h"

#include <cstdint>

namespace kinetra {

TAdvBody::~TAdvBody() {
    // The world's lists hold their own references, so releasing the arrays
    // before the base takes the members out of the world changes nothing there.
    bodyTemplate.reset();
    rigs.clear();
    constraints.clear();
    masses.clear();
}

AdvBodyRef TAdvBody::CreateFromTemplate(const TmpBodyRef& source) {
    if (!source || !CheckTemplate(*source).empty()) {
        return nullptr;
    }
    return BuildBody(*source, true);
}

AdvBodyRef BuildBody(const TTmpBody& source, bool withBaseAngle) {
    auto body = std::make_shared<TAdvBody>();
    body->name = source.name;
    body->masses.resize(source.masses.size());
    for (std::size_t i = 0; i < source.masses.size(); ++i) {
        const TTmpMass& record = *source.masses[i];
        const auto code = static_cast<std::int32_t>(GroupCode(record));
        // A negative code is the group plus one (-2 asks for an automatic
        // group); any other code shares the group of an earlier mass.
        const std::int32_t group =
            code < 0 ? code + 1 : body->masses[static_cast<std::size_t>(code)]->GetGroup();
        auto mass =
            TMass::Create(record.x, record.y, record.mass, record.radius, record.friction, group);
        mass->SetName(record.name);
        mass->fixed = record.fixed;
        body->masses[i] = std::move(mass);
    }
    body->constraints.resize(source.constraints.size());
    for (std::size_t i = 0; i < source.constraints.size(); ++i) {
        const TTmpCon& record = *source.constraints[i];
        auto constraint =
            TConstraint::Create(body->masses[record.massIndices[0]],
                                body->masses[record.massIndices[1]], -1.0f, record.stiffness);
        constraint->SetName(record.name);
        body->constraints[i] = std::move(constraint);
    }
    body->rigs.resize(source.rigs.size());
    for (std::size_t i = 0; i < source.rigs.size(); ++i) {
        const TTmpRig& record = *source.rigs[i];
        ConstraintRef constraint =
            record.constraintIndex == -1 ? nullptr : body->constraints[record.constraintIndex];
        auto rig = TRig::Create(record.image, body->masses[record.massIndex], std::move(constraint),
                                record.angle);
        rig->name = record.name;
        body->rigs[i] = std::move(rig);
    }
    if (withBaseAngle && !body->constraints.empty()) {
        body->baseAngle = body->constraints[0]->GetAngle();
    }
    // What AddToBody does for each, without its search of the members: these
    // constraints were made just now and cannot be members yet, and the
    // search would make loading quadratic in the number of constraints.
    for (const auto& constraint : body->constraints) {
        body->members.Append(constraint);
        constraint->Register();
    }
    return body;
}

void TAdvBody::Push(float dx, float dy) {
    for (const auto& mass : masses) {
        if (mass) {
            mass->Push(dx, dy);
        }
    }
}

void TAdvBody::SetPosition(float x, float y) {
    if (masses.empty() || !masses[0]) {
        return;
    }
    const float x0 = masses[0]->x;
    const float y0 = masses[0]->y;
    for (const auto& mass : masses) {
        if (mass) {
            mass->SetPosition(x + (mass->x - x0), y + (mass->y - y0));
        }
    }
}

void TAdvBody::Move(float dx, float dy) {
    for (const auto& mass : masses) {
        if (mass) {
            mass->Move(dx, dy);
        }
    }
}

} // namespace kinetra

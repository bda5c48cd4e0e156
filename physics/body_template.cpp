#include <kinetra/body_template.h>

#include <cmath>
#include <utility>

namespace kinetra {

TmpMassRef TTmpMass::Create(float x, float y, float mass, float radius, float friction,
                            float group) {
    auto record = std::make_shared<TTmpMass>();
    record->name = "Mass";
    record->x = x;
    record->y = y;
    record->oldX = x;
    record->oldY = y;
    record->mass = mass;
    record->radius = radius;
    record->friction = friction;
    record->group = group;
    return record;
}

TmpMassRef TTmpMass::Create(float x, float y, float mass, float radius, float friction,
                            std::int32_t groupCode) {
    auto record = Create(x, y, mass, radius, friction, static_cast<float>(groupCode));
    record->groupCode = groupCode;
    return record;
}

TmpConRef TTmpCon::Create(std::int32_t indexA, std::int32_t indexB, float stiffness) {
    auto record = std::make_shared<TTmpCon>();
    record->massIndices = {indexA, indexB};
    record->stiffness = stiffness;
    return record;
}

TmpRigRef TTmpRig::Create(ImageRef image, std::int32_t massIndex, std::int32_t constraintIndex,
                          float angle) {
    auto record = std::make_shared<TTmpRig>();
    record->name = "Rig";
    record->image = std::move(image);
    record->massIndex = massIndex;
    record->constraintIndex = constraintIndex;
    record->angle = angle;
    return record;
}

std::int64_t GroupCode(const TTmpMass& record) {
    if (static_cast<float>(record.groupCode) == record.group) {
        return record.groupCode;
    }
    return static_cast<std::int64_t>(record.group);
}

namespace {

bool IndexIn(std::int64_t index, std::size_t count) {
    return index >= 0 && static_cast<std::uint64_t>(index) < count;
}

std::string Range(const char* what, std::int64_t index, std::size_t count, const char* kind) {
    return std::string(what) + " index " + std::to_string(index) + " is out of range (" +
           std::to_string(count) + " " + kind + ")";
}

} // namespace

std::string CheckTemplate(const TTmpBody& body) {
    for (std::size_t i = 0; i < body.masses.size(); ++i) {
        const auto& m = body.masses[i];
        if (!m) {
            return "mass " + std::to_string(i) + ": missing record";
        }
        // Codes are whole numbers; anything else (or beyond int range) cannot
        // name a group or a record.
        if (!std::isfinite(m->group) || m->group < -2147483648.0f || m->group >= 2147483648.0f) {
            return "mass " + std::to_string(i) + ": group code is not a whole number";
        }
        const std::int64_t code = GroupCode(*m);
        if (code >= 0 && static_cast<std::uint64_t>(code) >= i) {
            return "mass " + std::to_string(i) + ": group code " + std::to_string(code) +
                   " does not name an earlier mass";
        }
    }
    for (std::size_t i = 0; i < body.constraints.size(); ++i) {
        const auto& c = body.constraints[i];
        if (!c) {
            return "constraint " + std::to_string(i) + ": missing record";
        }
        const char* ends[2] = {"mass A", "mass B"};
        for (int e = 0; e < 2; ++e) {
            if (!IndexIn(c->massIndices[e], body.masses.size())) {
                return "constraint " + std::to_string(i) + ": " +
                       Range(ends[e], c->massIndices[e], body.masses.size(), "masses");
            }
        }
    }
    for (std::size_t i = 0; i < body.rigs.size(); ++i) {
        const auto& r = body.rigs[i];
        if (!r) {
            return "rig " + std::to_string(i) + ": missing record";
        }
        if (!r->image) {
            return "rig " + std::to_string(i) + ": no image";
        }
        if (!IndexIn(r->massIndex, body.masses.size())) {
            return "rig " + std::to_string(i) + ": " +
                   Range("mass", r->massIndex, body.masses.size(), "masses");
        }
        if (r->constraintIndex != -1 && !IndexIn(r->constraintIndex, body.constraints.size())) {
            return "rig " + std::to_string(i) + ": " +
                   Range("constraint", r->constraintIndex, body.constraints.size(), "constraints");
        }
    }
    return {};
}

} // namespace kinetra

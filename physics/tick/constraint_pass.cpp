#include "constraint_pass.h"

#include <kinetra/constraint.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

namespace kinetra {

namespace {

constexpr float kMinimumDistance = 0.0001f;

} // namespace

void RelaxConstraint(TMassState& a, TMassState& b, float length, float stiffness) {
    if (a.fixed && b.fixed) {
        return;
    }
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    float d = std::sqrt(dx * dx + dy * dy);
    if (!(d >= kMinimumDistance)) {
        d = kMinimumDistance;
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

void TConstraintPass::Take(const TList<TConstraint>& constraints, std::uint64_t stampOfMasses,
                           const std::vector<TMass*>& masses) {
    if (constraints.Stamp() != constraintStamp || stampOfMasses != massStamp ||
        !StillHolds(constraints)) {
        constraintStamp = constraints.Stamp();
        massStamp = stampOfMasses;
        Place(constraints, masses);
    }
    for (std::size_t i = 0; i < unlisted.size(); ++i) {
        unlistedStates[i] = StateOf(*unlisted[i]);
    }
}

bool TConstraintPass::StillHolds(const TList<TConstraint>& constraints) const {
    std::size_t k = 0;
    for (const auto& c : constraints) {
        if (!c || !c->masses[0] || !c->masses[1]) {
            continue;
        }
        if (k == pairs.size() || pairs[k].constraint != c.get() ||
            pairs[k].a != c->masses[0].get() || pairs[k].b != c->masses[1].get()) {
            return false;
        }
        ++k;
    }
    return k == pairs.size();
}

void TConstraintPass::Place(const TList<TConstraint>& constraints,
                            const std::vector<TMass*>& masses) {
    listedCount = masses.size();
    std::vector<std::pair<const TMass*, std::uint32_t>> listed;
    listed.reserve(masses.size());
    for (std::size_t i = 0; i < masses.size(); ++i) {
        if (masses[i]) {
            listed.emplace_back(masses[i], static_cast<std::uint32_t>(i));
        }
    }
    std::sort(listed.begin(), listed.end());
    const auto isListed = [&listed](const TMass* m) {
        const auto found = std::lower_bound(listed.begin(), listed.end(),
                                            std::pair<const TMass*, std::uint32_t>{m, 0});
        return found != listed.end() && found->first == m ? found->second : UINT32_MAX;
    };
    // A constraint without both masses relaxes nothing.
    const auto relaxes = [](const auto& c) { return c && c->masses[0] && c->masses[1]; };
    unlisted.clear();
    for (const auto& c : constraints) {
        for (int side = 0; relaxes(c) && side < 2; ++side) {
            if (isListed(c->masses[side].get()) == UINT32_MAX) {
                unlisted.push_back(c->masses[side].get());
            }
        }
    }
    std::sort(unlisted.begin(), unlisted.end());
    unlisted.erase(std::unique(unlisted.begin(), unlisted.end()), unlisted.end());
    const auto placeOf = [&](TMass* m) {
        const std::uint32_t place = isListed(m);
        if (place != UINT32_MAX) {
            return place;
        }
        const auto at = std::lower_bound(unlisted.begin(), unlisted.end(), m);
        return static_cast<std::uint32_t>(listedCount + (at - unlisted.begin()));
    };
    pairs.clear();
    for (const auto& c : constraints) {
        if (relaxes(c)) {
            TMass* a = c->masses[0].get();
            TMass* b = c->masses[1].get();
            pairs.push_back({c.get(), a, b, placeOf(a), placeOf(b)});
        }
    }
    unlistedStates.resize(unlisted.size());
}

bool TConstraintPass::Relax(std::vector<TMassState>& states) {
    const auto at = [&](std::uint32_t place) -> TMassState& {
        return place < listedCount ? states[place] : unlistedStates[place - listedCount];
    };
    for (const TPair& p : pairs) {
        RelaxConstraint(at(p.first), at(p.second), p.constraint->length, p.constraint->stiffness);
    }
    return !pairs.empty();
}

void TConstraintPass::GiveBack() const {
    for (std::size_t i = 0; i < unlisted.size(); ++i) {
        GivePosition(unlistedStates[i], *unlisted[i]);
    }
}

} // namespace kinetra

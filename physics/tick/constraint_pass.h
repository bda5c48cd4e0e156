// The last step of each pass: every registered constraint, in list order, moves its two
// masses toward its rest length, after all masses of the pass have met the walls, the
// zones and each other.
//
// The tick relaxes the constraints on the masses' states (mass_state.h), so it keeps,
// between ticks, each constraint's two masses as places in the tick's array of states:
// found again only when a list's stamp changes or a constraint's masses were swapped.
// A mass that a constraint holds but massList does not has a state of its own, after
// the listed ones, taken and given back every tick.
#pragma once

#include "mass_state.h"
#include <kinetra/list.h>

#include <cstdint>
#include <vector>

namespace kinetra {

class TConstraint;

// One relaxation of a constraint of the given rest length and stiffness between the
// states a and b: the arithmetic of TConstraint::Satisfy.
void RelaxConstraint(TMassState& a, TMassState& b, float length, float stiffness);

class TConstraintPass {
public:
    // Takes the constraints for a tick over the listed masses, whose states the tick
    // holds in list order, and the states of the unlisted masses they hold.
    void Take(const TList<TConstraint>& constraints, std::uint64_t massStamp,
              const std::vector<TMass*>& masses);

    // Relaxes every constraint in list order; listed masses' states are in `states`.
    // False where there was none to relax.
    bool Relax(std::vector<TMassState>& states);

    // Gives the unlisted masses their positions back.
    void GiveBack() const;

private:
    struct TPair {
        const TConstraint* constraint;
        const TMass* a;
        const TMass* b;
        std::uint32_t first, second; // places of a and b; past the listed, in unlisted
    };

    void Place(const TList<TConstraint>& constraints, const std::vector<TMass*>& masses);
    bool StillHolds(const TList<TConstraint>& constraints) const;

    std::uint64_t constraintStamp = 0;
    std::uint64_t massStamp = 0;
    std::size_t listedCount = 0;
    std::vector<TPair> pairs;
    std::vector<TMass*> unlisted;
    std::vector<TMassState> unlistedStates;
};

} // namespace kinetra

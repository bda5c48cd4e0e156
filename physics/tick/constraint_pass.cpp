#include "constraint_pass.h"

#include <kinetra/constraint.h>

namespace kinetra {

void SatisfyConstraints(const TList<TConstraint>& constraints) {
    for (const auto& c : constraints) {
        if (c) {
            c->Satisfy();
        }
    }
}

} // namespace kinetra

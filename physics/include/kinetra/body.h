/// @file
/// The base of every body: a name and the constraints that make it up.
///
/// A constraint becomes a member through TConstraint::AddToBody, which also
/// registers it and its masses; Remove takes them out of the world again. A
/// body that is destroyed (its last reference gone) removes itself first.
#pragma once

#include "constraint.h"
#include "list.h"

#include <string>

namespace kinetra {

/// A named group of constraints, and through them of masses.
class TBody {
public:
    /// Removes the body from the world (Remove) before it goes.
    virtual ~TBody();
    std::string name;           ///< A label.
    TList<TConstraint> members; ///< Its constraints, in the order they were added.
    /// Sets the label.
    virtual void SetName(const std::string& name);
    /// Unregisters every member constraint (and with them their masses), then empties
    /// members.
    virtual void Remove();
};

} // namespace kinetra

// Counted membership of a registry, one definition for masses and constraints:
// an object shared by several owners (two constraints registering the same
// mass) is listed once, from its first Register to its last Unregister.
#pragma once

#include <kinetra/list.h>

#include <memory>

namespace kinetra {

// Counts one more registration of object and lists it when it is the first;
// without a registry (no world) it only counts.
template <class T>
void RegisterCounted(T& object, const std::shared_ptr<TList<T>>& registry) {
    const bool first = object.useCount == 0;
    if (first && registry) {
        if (auto self = object.weak_from_this().lock()) {
            object.link = registry->Append(self);
        }
    }
    ++object.useCount;
}

// Counts one registration less and unlists object at the last; true then. An
// unbalanced call does nothing: a count driven below zero would keep the next
// Register from listing the object.
template <class T>
bool UnregisterCounted(T& object, const std::shared_ptr<TList<T>>& registry) {
    if (object.useCount <= 0) {
        return false;
    }
    --object.useCount;
    if (object.useCount != 0) {
        return false;
    }
    if (registry) {
        registry->Remove(object.link);
    }
    return true;
}

} // namespace kinetra

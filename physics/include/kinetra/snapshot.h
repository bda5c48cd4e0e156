/// @file
/// Saving the current world to go back to it (rewind, undo, retrying from a checkpoint),
/// and a fingerprint of its state to compare runs.
///
/// A snapshot keeps everything a tick reads or writes:
/// - the world's settings (bounds, friction, gravity, passes) and nextAutoGroup;
/// - the registries' members in their order, and each member's registration count;
/// - every field of every registered mass, constraint and zone, and of the masses of
///   registered constraints: names, positions, weights, radii, groups, frictions, fixed
///   flags, a constraint's masses, length and stiffness, a zone's point values (the
///   values in its shared point array), kind, friction, place, group, tree and depth;
/// - the last tick's contact reports, when reporting is on.
/// It holds references to those objects, so they live while the snapshot does; it is
/// immutable, shared, and tied to the world it was taken in.
///
/// Restoring writes all of it back into the same objects and lists the registries as
/// they were, so the same ticks afterwards give the same bits as they did after the
/// snapshot was taken, and the same contact reports. Objects registered since are no
/// longer listed and their registration count is 0, as if every owner had unregistered
/// them (registering them again lists them). A snapshot can be restored any number of
/// times. Objects made since, and anything outside the engine (bodies' member lists,
/// rigs, the caller's own variables) are not touched.
#pragma once

#include "refs.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace kinetra {

class TSnapshot;
using SnapshotRef = std::shared_ptr<const TSnapshot>; ///< A snapshot, shared and unchangeable.

/// The current world's state; null without a world. Its memory (SnapshotBytes) is about
/// 100 bytes per mass, per constraint and per zone, 4 per zone point value and 70 per
/// contact report kept, and 250 besides: 13 KB for the game's course.
SnapshotRef TakeSnapshot();

/// Puts the world back as the snapshot holds it; true when done. A null snapshot, or
/// one taken in a world that has since been destroyed or replaced (CreatePhysics),
/// returns false and changes nothing.
bool RestoreSnapshot(const SnapshotRef& snapshot);

/// The memory a snapshot holds, in bytes (0 for null); the objects it refers to are not
/// counted, the values it keeps of them are.
std::size_t SnapshotBytes(const SnapshotRef& snapshot);

/// A 64-bit FNV-1a hash of the current world's state, the same on every platform: it is
/// computed from the values' bits in list order, never from addresses. Each 32-bit value
/// below enters as its four bytes, lowest first (a float as its IEEE-754 bits, an int as
/// its two's complement), starting from the offset basis 0xcbf29ce484222325 with the
/// prime 0x100000001b3:
/// - the world's maxX, maxY, minX, minY, friction, gravityX, gravityY and iterations,
///   then nextAutoGroup;
/// - the mass count, then per mass in massList order its x, y, oldX, oldY, mass, radius,
///   group, friction, fixed and useCount;
/// - the constraint count, then per constraint in constraintList order the massList
///   places of its two masses (0xffffffff for a mass that is not listed), its length,
///   stiffness and useCount;
/// - the zone count, then per zone in zoneList order its kind, friction, x, y, group,
///   depth and number of point values, then the values.
/// Names, trees and contact reports are left out. Each step of the hash is one-to-one,
/// so a change of one value, by one unit in the last place, always changes it. Without a
/// world it is the offset basis.
std::uint64_t PhysicsStateHash();

} // namespace kinetra

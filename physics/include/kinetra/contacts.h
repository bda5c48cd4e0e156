/// @file
/// What touched what during a tick, for game logic and sound: on the ground, hit hard
/// enough to be heard, left the wall.
///
/// A contact is a push the tick makes: a zone pushing a mass out of (or back inside)
/// its shape, or two overlapping masses pushed apart, the very contacts TZone::Collide
/// and TMass::Collide make. A pair that the tick brings to overlap in any of its passes
/// touches during that tick, however many passes it takes to part them; a pair that
/// only comes near does not. The world's bounds (the walls) are not objects and are not
/// reported: compare a mass with the bounds where they matter.
///
/// Reporting is off by default. While it is on, every tick lists its contacts; it
/// changes no result of the tick, and once the lists have grown to a tick's contacts it
/// allocates nothing. The lists belong to the engine and are replaced by the next tick;
/// they hold references to the masses and zones in them until then. A new world, or
/// turning reporting off, empties them.
#pragma once

#include "refs.h"

#include <vector>

namespace kinetra {

/// One pair that touched during a tick. Pixels, and pixels per tick.
struct TContact {
    MassRef mass;       ///< the mass that was pushed (for a pair, the one earlier in massList)
    MassRef other;      ///< the other mass of a pair, or null
    ZoneRef zone;       ///< the zone, or null
    float x = 0;        ///< where the mass was after its first push of the tick, x
    float y = 0;        ///< likewise y
    float normalX = 0;  ///< unit direction of that push, x
    float normalY = 0;  ///< likewise y
    float speed = 0;    ///< approach speed along the normal at that push, pixels per tick
    bool begin = false; ///< the pair touches now and did not touch on the tick before
};
// More precisely, at the first push of the tick:
// - normal: for a zone, the direction the zone pushed the mass; for a pair, the
//   direction from other to mass (mass is pushed along it, other against it, even
//   where one of them is fixed and does not move). Zero where the centres coincide
//   (a mass centred on a line, two masses at one point), which the tick cannot part.
// - speed: how fast the two were closing along the normal just before the push: minus
//   the mass's velocity (minus other's) along the normal. A mass that falls onto a
//   floor at 6 pixels per tick reports about 6; one resting on it, about the
//   gravity of one tick.

/// Turns reporting on or off for the ticks to come; off empties both lists. The first
/// tick reported after turning it on finds every contact begun and none ended.
void SetContactReporting(bool on);
/// Whether reporting is on.
bool ContactReporting();

/// Every pair that touched during the last tick, once each, in the order the tick first
/// pushed them (list order, as the tick relaxes them). Empty while reporting is off,
/// without a world, and before the first reported tick.
const std::vector<TContact>& TickContacts();

/// The pairs that touched on the tick before the last and not on the last one, in the
/// order they were reported then; x, y, normal and speed are those of that report, and
/// begin is false. The first reported tick ends nothing.
const std::vector<TContact>& EndedContacts();

} // namespace kinetra

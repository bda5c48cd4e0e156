/// @file
/// Questions about the current world: what a segment meets first, what holds a point,
/// what touches a box. They read the registered masses and zones and change nothing.
///
/// What they see. Masses are circles of their radius around (x, y); zones are their
/// segments where they stand (each point shifted by the zone's x and y): an open line's
/// n - 1 segments, an outline's or a solid's n closing ones, and a solid's inside by the
/// winding rule the tick applies. A zone without a tree, or of a kind other than 0, 1
/// or 2, touches nothing in the tick and is never answered. Every answer is tested
/// against the objects' fields as they are at the call.
///
/// To be quick among many masses, the masses are filed in a grid the first time a
/// question is asked after a tick, after a registration or unregistration, or after
/// RefreshQueries; zones are first tested against the box of their tree. A mass moved
/// or grown by hand since then (SetPosition, a radius written directly) is found only
/// where it still touches the cells it was filed in: call RefreshQueries after moving
/// masses between ticks when questions must see them at once. The grid holds about
/// 30 bytes per mass (at most about 100), kept for the next question.
///
/// Groups. A question of group g passes over what a mass of group g would pass over in
/// the tick by its group: the masses and zones whose group equals g, when g is not 0.
/// Group 0 passes over nothing. (Objects of group 0 are answered: they touch nothing in
/// the tick, but they are there.)
///
/// Bad input: without a world, or with an argument that is NaN or infinite, nothing is
/// answered (RayCast returns false and hit is reset; the lists are emptied). Nothing here
/// allocates per call once the output vectors have grown, apart from the grid's filing.
#pragma once

#include "refs.h"

#include <vector>

namespace kinetra {

/// Where a segment first meets a mass or a zone. Pixels; fraction has no unit.
struct TRayHit {
    float x = 0;       ///< where the ray first meets the object, x
    float y = 0;       ///< likewise y
    float normalX = 0; ///< unit normal of the surface there, facing back towards the ray's start, x
    float normalY = 0; ///< likewise y
    float fraction = 0; ///< how far along: 0 at the start, 1 at the end
    MassRef mass;       ///< the mass hit, or null
    ZoneRef zone;       ///< the zone hit, or null
};

/// The first mass or zone that the segment from (x0, y0) to (x1, y1) meets, ends and
/// touching included; false, with hit reset, when it meets none.
/// - A line (or any segment of a zone) is met from either side; the normal is the
///   segment's, turned towards the ray's start.
/// - A ray that starts inside a circle, or inside a solid by the winding rule, meets it
///   at once: fraction 0 at the start, with the normal pointing straight back along the
///   ray (from the start away from the end). An outline is hollow: a ray inside it
///   meets its edge.
/// - A ray of length 0 is a point: it meets what holds the point, with a zero normal.
/// - Where several objects are met at the same fraction, masses come before zones, and
///   each earlier in its list before later ones.
bool RayCast(float x0, float y0, float x1, float y1, TRayHit& hit, int group = 0);

/// Fills masses with the masses whose circle holds (x, y), edge included, and zones with
/// the solids (kind 2) that hold it by the tick's winding rule; both in list order. The
/// vectors' previous contents are dropped.
void QueryPoint(float x, float y, std::vector<MassRef>& masses, std::vector<ZoneRef>& zones,
                int group = 0);

/// Fills masses with the masses whose circle touches the box (edges included), and zones
/// with the zones that have a segment in it, or (a solid) an inside in it; both in list
/// order. A box whose min exceeds its max answers nothing.
void QueryBox(float minX, float minY, float maxX, float maxY, std::vector<MassRef>& masses,
              std::vector<ZoneRef>& zones, int group = 0);

/// Files the masses again where they are now, for questions asked after moving masses
/// by hand between ticks. Does nothing without a world.
void RefreshQueries();

} // namespace kinetra

// The one fixed course: its objects and the signposts drawn over it.
#pragma once

namespace morvel {

// Builds the 8 lifts, the bridge, the 2 platforms and the 12 scenery polygons,
// in that order, into the global level.
void BuildCourse();

// Draws the course's signs in course coordinates (the current origin applies).
void DrawSignposts();

} // namespace morvel

// The course as the game sets it up and steps it; the game, its tests and its
// tools all go through here so that none of them drifts from the others.
#pragma once

namespace morvel {

// The physics world and an empty level of the course's size and start point,
// with the world's walls at the level's edges.
void CreateCourseWorld();

// CreateCourseWorld, then the blob at the start and the course objects after
// it (so the world relaxes the blob first), and finished cleared.
void SetUpCourse();

// Releases the blob and the level, then destroys the physics world.
void TearDownCourse();

// One frame's simulation, in the frame loop's order: the blob's steering, the
// level's motion, one physics tick, the finish test and change. False when the
// finish skin could not be loaded.
bool StepCourse();

} // namespace morvel

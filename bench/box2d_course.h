// The same geometry in Box2D 2.4, for comparison: read from Kinetra's registries once
// the course is built. Free masses become dynamic circles (the blob's masses, of radius
// 0, small ones), constraints distance joints, fixed masses and the moving zones
// kinematic bodies, the standing zones static chains.
#pragma once

#include <memory>

namespace scenes {

class Box2DCourse {
public:
    Box2DCourse();
    ~Box2DCourse();
    Box2DCourse(const Box2DCourse&) = delete;
    Box2DCourse& operator=(const Box2DCourse&) = delete;

    // Moves the kinematic bodies to where Kinetra's fixed masses and zones now stand
    // (within one step) and steps the world by one 60 Hz frame, 8 velocity and 3
    // position iterations.
    void Step();

private:
    struct World;
    std::unique_ptr<World> world;
};

} // namespace scenes

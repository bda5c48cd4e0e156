// The same geometry in Box2D 2.4, for comparison: read from Kinetra's registries once
// the course is built. Free masses become dynamic circles (the blob's masses, of radius
// 0, small ones), constraints distance joints, fixed masses and the moving zones
// kinematic bodies, the standing zones static chains.
#pragma once

#include <memory>

namespace scenes {

class TBox2DCourse {
public:
    TBox2DCourse();
    ~TBox2DCourse();
    TBox2DCourse(const TBox2DCourse&) = delete;
    TBox2DCourse& operator=(const TBox2DCourse&) = delete;

    // Moves the kinematic bodies to where Kinetra's fixed masses and zones now stand
    // (within one step) and steps the world by one 60 Hz frame, 8 velocity and 3
    // position iterations.
    void Step();

private:
    struct TWorld;
    std::unique_ptr<TWorld> world;
};

} // namespace scenes

// The course's geometry in Box2D v3, for comparison, made as TBox2DCourse makes it for
// Box2D 2.4: read from Kinetra's registries once the course is built.
#pragma once

#include <memory>

namespace scenes {

class TBox2D3Course {
public:
    TBox2D3Course();
    ~TBox2D3Course();
    TBox2D3Course(const TBox2D3Course&) = delete;
    TBox2D3Course& operator=(const TBox2D3Course&) = delete;

    // Moves the kinematic bodies to where Kinetra's fixed masses and zones now stand
    // (within one step) and steps the world by one 60 Hz frame of 4 substeps.
    void Step();

private:
    struct TWorld;
    std::unique_ptr<TWorld> world;
};

} // namespace scenes

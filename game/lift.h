// A lift: a solid polygon that rises and sinks with a sine of the level time.
#pragma once

#include <kinetra/kinetra.h>
#include "level.h"

#include <memory>

namespace morvel {

class TLift : public TLevelObj {
public:
    std::shared_ptr<kinetra::TZone> zone;
    float x = 0;
    float y = 0;
    float speed = 0; // degrees of phase per millisecond
    float range = 0;
    int useCosine = 0;

    // points: the polygon's corners relative to the zone's position.
    static std::shared_ptr<TLift> Create(kinetra::FloatArray points, float x, float y, float speed,
                                         float range, int useCosine);
    void Update() override;
    void Draw() override;
};

} // namespace morvel

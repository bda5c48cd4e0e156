// A moving platform: a row of fixed, overlapping masses that slides left and
// right with a sine of the level time.
#pragma once

#include <kinetra/adv_body.h>
#include "level.h"

#include <memory>

namespace morvel {

class TPlatform : public TLevelObj {
public:
    std::shared_ptr<kinetra::TAdvBody> body;
    float x = 0; // centre of the first mass's travel
    float y = 0;
    float speed = 0;
    float range = 0;
    int useCosine = 0;
    float lastX = 0; // first mass's x after the previous update

    static std::shared_ptr<TPlatform> Create(float x, float y, int count, float speed, float range,
                                             int useCosine);
    void Update() override;
    void Draw() override;
};

} // namespace morvel

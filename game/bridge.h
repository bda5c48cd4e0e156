// A bridge: a chain of masses with fixed ends, left to the physics world.
#pragma once

#include <kinetra/adv_body.h>
#include "level.h"

#include <memory>

namespace morvel {

class TBridge : public TLevelObj {
public:
    std::shared_ptr<kinetra::TAdvBody> body;

    // (x, y) is the first mass's centre; the chain runs right, 40 px a link.
    static std::shared_ptr<TBridge> Create(float x, float y, int count);
    void Draw() override;
};

} // namespace morvel

// Scenery: one static solid polygon in course coordinates.
#pragma once

#include <kinetra/kinetra.h>
#include "level.h"

#include <memory>

namespace morvel {

class TScenery : public TLevelObj {
public:
    std::shared_ptr<kinetra::TZone> zone;

    static std::shared_ptr<TScenery> Create(kinetra::FloatArray points);
    void Draw() override;
};

} // namespace morvel

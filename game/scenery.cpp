#include "scenery.h"

#include <present/present.h>

namespace morvel {

std::shared_ptr<TScenery> TScenery::Create(kinetra::FloatArray points) {
    auto scenery = std::make_shared<TScenery>();
    // The position is never set: the points are absolute course coordinates.
    scenery->zone = kinetra::TZone::Create(std::move(points), 2, 1.0f, 10, 1);
    AddToLevel(scenery);
    return scenery;
}

void TScenery::Draw() {
    if (!zone) {
        return;
    }
    present::SetDrawColour(0, 127, 127);
    zone->Draw();
}

} // namespace morvel

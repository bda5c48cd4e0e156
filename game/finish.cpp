#include "finish.h"

#include "blob.h"
#include "globals.h"
#include <kinetra/mass.h>
#include <present/present.h>

namespace morvel {

namespace {

constexpr float kFinishLeft = 1900;
constexpr float kFinishTop = 275;

bool NeedsFinishChange(const TBlob& player) {
    return !player.masses.empty() && player.masses.front() &&
           player.masses.front()->mass < kFinishWeight;
}

} // namespace

bool InFinishArea(float centreX, float centreY) {
    return centreX > kFinishLeft && centreY < kFinishTop;
}

bool UpdateFinish() {
    if (!blob) {
        return true;
    }
    if (InFinishArea(blob->x, blob->y)) {
        finished = 1;
    }
    if (finished != 1 || !NeedsFinishChange(*blob)) {
        return true;
    }
    skinImage = present::LoadImageFile(kFinishSkinUrl, -1);
    if (!skinImage) {
        return false;
    }
    for (const auto& mass : blob->masses) {
        if (mass) {
            mass->SetMass(kFinishWeight);
            mass->SetFriction(0);
        }
    }
    return true;
}

} // namespace morvel

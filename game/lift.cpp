#include "lift.h"

#include "globals.h"
#include <present/present.h>

namespace morvel {

std::shared_ptr<TLift> TLift::Create(kinetra::FloatArray points, float x, float y, float speed,
                                     float range, int useCosine) {
    auto lift = std::make_shared<TLift>();
    // All lifts share group 20, so they never push each other and push every
    // free mass of another non-zero group.
    lift->zone = kinetra::TZone::Create(std::move(points), 2, 1.0f, 20, 1);
    lift->x = x;
    lift->y = y;
    lift->speed = speed;
    lift->range = range;
    lift->useCosine = useCosine;
    AddToLevel(lift);
    return lift;
}

void TLift::Update() {
    if (!zone) {
        return;
    }
    const double phase = static_cast<double>(level ? level->time : 0) * speed;
    const double s = useCosine != 0 ? present::CosDeg(phase) : present::SinDeg(phase);
    zone->SetPosition(x, static_cast<float>(s * range + y));
}

void TLift::Draw() {
    if (!zone) {
        return;
    }
    present::SetDrawColour(191, 95, 0);
    zone->Draw();
}

} // namespace morvel

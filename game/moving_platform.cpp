#include "moving_platform.h"

#include "globals.h"
#include <present/present.h>

namespace morvel {

std::shared_ptr<TPlatform> TPlatform::Create(float x, float y, int count, float speed, float range,
                                             int useCosine) {
    auto platform = std::make_shared<TPlatform>();
    auto body = std::make_shared<kinetra::TAdvBody>();
    platform->body = body;
    const int masses = count > 0 ? count : 0;
    body->masses.assign(masses, nullptr);
    body->constraints.assign(masses > 1 ? masses - 1 : 0, nullptr);
    for (int i = 0; i < masses; ++i) {
        // Group 30 keeps the overlapping neighbours from pushing each other apart.
        auto m =
            kinetra::TMass::Create(x + 20.0f * static_cast<float>(i), y, 4.0f, 20.0f, 1.0f, 30);
        body->masses[i] = m;
        m->Fix();
    }
    for (int i = 0; i + 1 < masses; ++i) {
        auto c = kinetra::TConstraint::Create(body->masses[i], body->masses[i + 1], -1.0f, 0.5f);
        body->constraints[i] = c;
        c->AddToBody(*body);
    }
    platform->x = x;
    platform->y = y;
    platform->speed = speed;
    platform->range = range;
    platform->useCosine = useCosine;
    AddToLevel(platform);
    return platform;
}

void TPlatform::Update() {
    if (!body) {
        return;
    }
    const double phase = static_cast<double>(level ? level->time : 0) * speed;
    const double s = useCosine != 0 ? present::CosDeg(phase) : present::SinDeg(phase);
    const float px = static_cast<float>(s * range + x);
    body->SetPosition(px, y);
    // The value is the previous x minus the new one, opposite to the row's own
    // motion; fixed masses are never integrated, so it moves nothing.
    const float d = lastX - px;
    for (const auto& m : body->masses) {
        if (m) {
            m->SetVelocity(d, 0.0f);
        }
    }
    lastX = px;
}

void TPlatform::Draw() {
    if (!body) {
        return;
    }
    // All rims first, then all fills, so the row reads as one bar without seams.
    present::SetDrawColour(0, 0, 0);
    for (const auto& m : body->masses) {
        if (m) {
            present::FillEllipse(m->x - 20.0f, m->y - 20.0f, 40.0f, 40.0f);
        }
    }
    present::SetDrawColour(191, 95, 0);
    for (const auto& m : body->masses) {
        if (m) {
            present::FillEllipse(m->x - 19.0f, m->y - 19.0f, 38.0f, 38.0f);
        }
    }
}

} // namespace morvel

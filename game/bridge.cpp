#include "bridge.h"

#include "globals.h"
#include <present/present.h>

namespace morvel {

std::shared_ptr<TBridge> TBridge::Create(float x, float y, int count) {
    auto bridge = std::make_shared<TBridge>();
    auto body = std::make_shared<kinetra::TAdvBody>();
    bridge->body = body;
    const int masses = count > 0 ? count : 0;
    body->masses.assign(masses, nullptr);
    body->constraints.assign(masses > 1 ? masses - 1 : 0, nullptr);
    for (int i = 0; i < masses; ++i) {
        // Each bead takes an automatic group of its own, so neighbours collide.
        body->masses[i] =
            kinetra::TMass::Create(x + 40.0f * static_cast<float>(i), y, 4.0f, 20.0f, 1.0f, -1);
    }
    for (int i = 0; i + 1 < masses; ++i) {
        auto c = kinetra::TConstraint::Create(body->masses[i], body->masses[i + 1], -1.0f, 0.5f);
        body->constraints[i] = c;
        c->AddToBody(*body);
    }
    if (masses > 0) {
        body->masses.front()->Fix();
        body->masses.back()->Fix();
    }
    AddToLevel(bridge);
    return bridge;
}

void TBridge::Draw() {
    if (!body) {
        return;
    }
    // Bead by bead, so each later rim shows over the earlier bead's fill.
    for (const auto& m : body->masses) {
        if (!m) {
            continue;
        }
        present::SetDrawColour(0, 0, 0);
        present::FillEllipse(m->x - 20.0f, m->y - 20.0f, 40.0f, 40.0f);
        present::SetDrawColour(191, 95, 0);
        present::FillEllipse(m->x - 19.0f, m->y - 19.0f, 38.0f, 38.0f);
    }
}

} // namespace morvel

#include "blob.h"

#include "globals.h"
#include "level.h"
#include <present/present.h>

namespace morvel {

namespace {

constexpr float RingRadius = 24.0f;
constexpr float AngleStep = 15.0f;
constexpr float MassWeight = 2.0f;
constexpr float MassRadius = 0.0f;
constexpr float MassFriction = 1.0f;
constexpr int BlobGroup = 2;
constexpr float RimStiffness = 1.0f;
constexpr float CreateSpokeStiffness = 0.1f;
constexpr float SpokeStiffness = 0.8f;
constexpr float FirmSpokeStiffness = 1.0f;
constexpr float Diameter = 48.0f;
constexpr float BounceDiameter = 60.0f;
constexpr double Pi = 3.141592653589793;
constexpr float FastSpeed = 8.0f;
constexpr int FastPasses = 6;
constexpr int NormalPasses = 2;
constexpr float RollPush = 0.1f;
constexpr float CentreDivisor = 24.0f;

} // namespace

std::shared_ptr<TBlob> TBlob::Create(float x, float y) {
    auto created = std::make_shared<TBlob>();
    for (int i = 0; i < MassCount; ++i) {
        const double angle = static_cast<double>(AngleStep) * i;
        const auto mx = static_cast<float>(x + RingRadius * present::CosDeg(angle));
        const auto my = static_cast<float>(y + RingRadius * present::SinDeg(angle));
        created->masses[i] =
            kinetra::TMass::Create(mx, my, MassWeight, MassRadius, MassFriction, BlobGroup);
    }
    for (int k = 12; k < 35; ++k) {
        created->constraints[k] = kinetra::TConstraint::Create(
            created->masses[k - 12], created->masses[k - 11], -1.0f, RimStiffness);
    }
    created->constraints[35] =
        kinetra::TConstraint::Create(created->masses[23], created->masses[0], -1.0f, RimStiffness);
    // Four fronts, two from each end of spoke 0, advancing round the ring in both
    // directions: this is also the order in which the world relaxes the rim.
    for (int i = 0; i < 6; ++i) {
        for (int k : {12 + i, 35 - i, 23 - i, 24 + i}) {
            created->constraints[k]->AddToBody(*created);
        }
    }
    for (int i = 0; i < 12; ++i) {
        created->constraints[i] = kinetra::TConstraint::Create(
            created->masses[i], created->masses[i + 12], -1.0f, CreateSpokeStiffness);
        created->constraints[i]->AddToBody(*created);
    }
    created->x = x;
    created->y = y;
    return created;
}

void TBlob::Update() {
    float stiffness = SpokeStiffness;
    float diameter = Diameter;
    if (present::KeyPressCount(present::key::Up) != 0) {
        stiffness = FirmSpokeStiffness;
        diameter = BounceDiameter;
    }
    if (speed > FastSpeed) {
        stiffness = FirmSpokeStiffness;
        kinetra::SetPhysicsIterations(FastPasses);
    } else {
        kinetra::SetPhysicsIterations(NormalPasses);
    }
    for (int i = 0; i < 12; ++i) {
        if (constraints[i]) {
            constraints[i]->SetStiffness(stiffness);
            constraints[i]->SetLength(diameter);
        }
    }
    const auto rimLength = static_cast<float>(diameter * Pi / 24.0);
    for (int k = 12; k < ConstraintCount; ++k) {
        if (constraints[k]) {
            constraints[k]->SetLength(rimLength);
        }
    }

    direction = 0;
    float push = 0;
    if (present::IsKeyDown(present::key::Left) != 0) {
        push = -RollPush;
        direction = -1;
    } else if (present::IsKeyDown(present::key::Right) != 0) {
        push = RollPush;
        direction = 1;
    }
    if (direction != 0) {
        // Each mass is pushed along the rim edge towards its successor, so the
        // ring spins; the ground's friction turns the spin into rolling.
        for (int i = 0; i < MassCount; ++i) {
            const auto& m = masses[i];
            const auto& n = masses[(i + 1) % MassCount];
            if (!m || !n) {
                continue;
            }
            const auto a = static_cast<float>(present::Atan2Deg(n->y - m->y, n->x - m->x));
            m->Push(static_cast<float>(push * present::CosDeg(a)),
                    static_cast<float>(push * present::SinDeg(a)));
        }
    }

    const float oldX = x;
    const float oldY = y;
    x = 0;
    y = 0;
    for (const auto& m : masses) {
        if (m) {
            x += m->x;
            y += m->y;
        }
    }
    x /= CentreDivisor;
    y /= CentreDivisor;
    vx = x - oldX;
    vy = y - oldY;
    speed = static_cast<float>(present::SquareRoot(vx * vx + vy * vy));

    if (present::KeyPressCount(present::key::Space) != 0) {
        Destroy();
        const float startX = level ? static_cast<float>(level->startX) : 0.0f;
        const float startY = level ? static_cast<float>(level->startY) : 0.0f;
        // Replacing the global may drop the last reference to this blob: touch
        // nothing of it afterwards.
        blob = TBlob::Create(startX, startY);
    }
}

void TBlob::Destroy() {
    Remove();
}

} // namespace morvel

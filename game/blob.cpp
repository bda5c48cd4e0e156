#include "blob.h"

#include "globals.h"
#include "level.h"
#include <present/present.h>

namespace morvel {

namespace {

constexpr float kRingRadius = 24.0f;
constexpr float kAngleStep = 15.0f;
constexpr float kMassWeight = 2.0f;
constexpr float kMassRadius = 0.0f;
constexpr float kMassFriction = 1.0f;
constexpr int kBlobGroup = 2;
constexpr float kRimStiffness = 1.0f;
constexpr float kCreateSpokeStiffness = 0.1f;
constexpr float kSpokeStiffness = 0.8f;
constexpr float kFirmSpokeStiffness = 1.0f;
constexpr float kDiameter = 48.0f;
constexpr float kBounceDiameter = 60.0f;
constexpr double kPi = 3.141592653589793;
constexpr float kFastSpeed = 8.0f;
constexpr int kFastPasses = 6;
constexpr int kNormalPasses = 2;
constexpr float kRollPush = 0.1f;
constexpr float kCentreDivisor = 24.0f;

} // namespace

std::shared_ptr<TBlob> TBlob::Create(float x, float y) {
    auto created = std::make_shared<TBlob>();
    for (int i = 0; i < kMassCount; ++i) {
        const double angle = static_cast<double>(kAngleStep) * i;
        const auto mx = static_cast<float>(x + kRingRadius * present::CosDeg(angle));
        const auto my = static_cast<float>(y + kRingRadius * present::SinDeg(angle));
        created->masses[i] =
            kinetra::TMass::Create(mx, my, kMassWeight, kMassRadius, kMassFriction, kBlobGroup);
    }
    for (int k = 12; k < 35; ++k) {
        created->constraints[k] = kinetra::TConstraint::Create(
            created->masses[k - 12], created->masses[k - 11], -1.0f, kRimStiffness);
    }
    created->constraints[35] =
        kinetra::TConstraint::Create(created->masses[23], created->masses[0], -1.0f, kRimStiffness);
    // Four fronts, two from each end of spoke 0, advancing round the ring in both
    // directions: this is also the order in which the world relaxes the rim.
    for (int i = 0; i < 6; ++i) {
        for (int k : {12 + i, 35 - i, 23 - i, 24 + i}) {
            created->constraints[k]->AddToBody(*created);
        }
    }
    for (int i = 0; i < 12; ++i) {
        created->constraints[i] = kinetra::TConstraint::Create(
            created->masses[i], created->masses[i + 12], -1.0f, kCreateSpokeStiffness);
        created->constraints[i]->AddToBody(*created);
    }
    created->x = x;
    created->y = y;
    return created;
}

namespace {

// The spokes' stiffness and rest length, the rim's length and the world's
// passes for this frame: Up firms the ring and stretches it for a bounce, and
// a fast blob is firm and relaxed more often so that it does not fold.
void Shape(TBlob& blob) {
    float stiffness = kSpokeStiffness;
    float diameter = kDiameter;
    if (present::KeyPressCount(present::key::Up) != 0) {
        stiffness = kFirmSpokeStiffness;
        diameter = kBounceDiameter;
    }
    if (blob.speed > kFastSpeed) {
        stiffness = kFirmSpokeStiffness;
        kinetra::SetPhysicsIterations(kFastPasses);
    } else {
        kinetra::SetPhysicsIterations(kNormalPasses);
    }
    for (int i = 0; i < 12; ++i) {
        if (blob.constraints[i]) {
            blob.constraints[i]->SetStiffness(stiffness);
            blob.constraints[i]->SetLength(diameter);
        }
    }
    const auto rimLength = static_cast<float>(diameter * kPi / 24.0);
    for (int k = 12; k < TBlob::kConstraintCount; ++k) {
        if (blob.constraints[k]) {
            blob.constraints[k]->SetLength(rimLength);
        }
    }
}

// Left or Right pushes each mass along the rim edge towards its successor, so
// the ring spins; the ground's friction turns the spin into rolling.
void Roll(TBlob& blob) {
    blob.direction = 0;
    float push = 0;
    if (present::IsKeyDown(present::key::Left) != 0) {
        push = -kRollPush;
        blob.direction = -1;
    } else if (present::IsKeyDown(present::key::Right) != 0) {
        push = kRollPush;
        blob.direction = 1;
    }
    if (blob.direction == 0) {
        return;
    }
    for (int i = 0; i < TBlob::kMassCount; ++i) {
        const auto& m = blob.masses[i];
        const auto& n = blob.masses[(i + 1) % TBlob::kMassCount];
        if (!m || !n) {
            continue;
        }
        const auto a = static_cast<float>(present::Atan2Deg(n->y - m->y, n->x - m->x));
        m->Push(static_cast<float>(push * present::CosDeg(a)),
                static_cast<float>(push * present::SinDeg(a)));
    }
}

// The centre as the masses' mean, and the velocity and speed since last frame.
void FollowCentre(TBlob& blob) {
    const float oldX = blob.x;
    const float oldY = blob.y;
    blob.x = 0;
    blob.y = 0;
    for (const auto& m : blob.masses) {
        if (m) {
            blob.x += m->x;
            blob.y += m->y;
        }
    }
    blob.x /= kCentreDivisor;
    blob.y /= kCentreDivisor;
    blob.vx = blob.x - oldX;
    blob.vy = blob.y - oldY;
    blob.speed = static_cast<float>(present::SquareRoot(blob.vx * blob.vx + blob.vy * blob.vy));
}

} // namespace

void TBlob::Update() {
    Shape(*this);
    Roll(*this);
    FollowCentre(*this);
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

// A ball that knows when it is on the ground. It is dropped onto a floor, and each time
// it has rested for a second it is thrown up again, a little higher. Contact reports
// tell it when it lands (and how hard: what a sound effect would want) and when it
// leaves the ground; a ray cast straight down tells it how high it is in between.
#include <kinetra/kinetra.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kBallGroup = 1;
constexpr float kBallRadius = 8.0f;

// Whether the last tick's contacts include the ball touching the floor, and the
// contact that began this tick, if any.
bool OnGround(const kinetra::MassRef& ball, const kinetra::ZoneRef& floor,
              const kinetra::TContact*& landing) {
    bool touching = false;
    landing = nullptr;
    for (const kinetra::TContact& c : kinetra::TickContacts()) {
        if (c.mass == ball && c.zone == floor) {
            touching = true;
            if (c.begin) {
                landing = &c;
            }
        }
    }
    return touching;
}

// The gap under the ball: a ray from its bottom straight down, passing over the ball's
// own group; -1 when there is nothing below within 1000 pixels.
float Height(const kinetra::MassRef& ball) {
    kinetra::TRayHit hit;
    const float bottom = ball->y + kBallRadius;
    if (!kinetra::RayCast(ball->x, bottom, ball->x, bottom + 1000, hit, kBallGroup)) {
        return -1.0f;
    }
    return hit.y - bottom;
}

} // namespace

int main() {
    // 640 x 480 pixels, gravity 0.1 pixels per tick squared downwards, 4 passes.
    kinetra::CreatePhysics(640, 480, 0.1f, 0, 4);
    kinetra::SetContactReporting(true);
    auto points = std::make_shared<std::vector<float>>(
        std::vector<float>{0, 400, 640, 400, 640, 480, 0, 480});
    const kinetra::ZoneRef floor =
        kinetra::TZone::Create(points, kinetra::TZoneKind::Solid, 1.0f, 10, 1);
    const kinetra::MassRef ball =
        kinetra::TMass::Create(320, 100, 1, kBallRadius, 0.5f, kBallGroup);
    ball->Register();

    int restingTicks = 0;
    int throws = 0;
    float highest = 0.0f;
    for (int tick = 1; tick <= 1200; ++tick) {
        kinetra::UpdatePhysics();
        const kinetra::TContact* landing = nullptr;
        const bool onGround = OnGround(ball, floor, landing);
        if (landing) {
            std::printf("tick %d: landed at (%.1f, %.1f), %.2f pixels per tick, from %.1f "
                        "pixels up\n",
                        tick, landing->x, landing->y, landing->speed, highest);
            highest = 0.0f;
        }
        for (const kinetra::TContact& c : kinetra::EndedContacts()) {
            if (c.mass == ball && c.zone == floor) {
                std::printf("tick %d: left the ground\n", tick);
            }
        }
        if (!onGround) {
            restingTicks = 0;
            highest = std::max(highest, Height(ball));
        } else if (++restingTicks == 60) {
            ++throws;
            ball->SetVelocity(0, -2.0f - 1.5f * static_cast<float>(throws));
        }
    }
    kinetra::SetContactReporting(false);
    ball->Unregister();
    floor->Remove();
    kinetra::DestroyPhysics();
    return 0;
}

#include "course_sim.h"

#include "blob.h"
#include "course.h"
#include "globals.h"
#include "host_platform.h"
#include "input.h"
#include <kinetra/kinetra.h>
#include "level.h"
#include "present.h"

#include "moving_platform.h"

#include <memory>

namespace find_finish {

namespace {

// The driver's virtual clock stands 1016 ms after its start when the game
// screen opens (the menu frame and the game screen's vertical-sync test); the
// first frame's level update reads it there, and paced presentation then
// waits 16, 17, 17 ms before each frame is shown, before the next frame's update.
constexpr std::uint32_t FirstFrameDelay = 1016;
constexpr int FirstAccumulator = 0;
constexpr int Period = 16;
constexpr int Remainder = 40;
constexpr int RefreshHz = 60;

constexpr int KeyLeft = 37;
constexpr int KeyUp = 38;
constexpr int KeyRight = 39;

class TSimPlatform : public present::TPlatform {
public:
    std::uint32_t Millis() override { return clock; }
    void Sleep(std::uint32_t ms) override { clock += ms; }
    void PumpEvents() override {}
    bool Headless() const override { return true; }
    std::uint32_t clock = 0;
};

std::shared_ptr<TSimPlatform> simPlatform;

std::vector<kinetra::MassRef> AllMasses() {
    return kinetra::massList->ToArray();
}

// Lifts need no saving: every frame places them from the clock before the tick.
std::vector<std::shared_ptr<morvel::TPlatform>> Platforms() {
    std::vector<std::shared_ptr<morvel::TPlatform>> platforms;
    for (const auto& object : morvel::level->objects) {
        if (auto platform = std::dynamic_pointer_cast<morvel::TPlatform>(object)) {
            platforms.push_back(platform);
        }
    }
    return platforms;
}

} // namespace

TCourseSim::TCourseSim(std::uint32_t clockStart)
    : clock(clockStart + FirstFrameDelay), accumulator(FirstAccumulator) {
    simPlatform = std::make_shared<TSimPlatform>();
    present::SetPlatform(simPlatform);
    present::StartInput();
    kinetra::CreatePhysics(2048, 1024, 0.1f, 0, 2);
    morvel::level = std::make_shared<morvel::TLevel>();
    morvel::level->width = 2048;
    morvel::level->height = 1024;
    morvel::level->startX = 25;
    morvel::level->startY = 850;
    kinetra::SetPhysicsWorld(0, 0, static_cast<float>(morvel::level->width),
                             static_cast<float>(morvel::level->height), 1.0f);
    morvel::blob = morvel::TBlob::Create(static_cast<float>(morvel::level->startX),
                                         static_cast<float>(morvel::level->startY));
    morvel::BuildCourse();
    morvel::finished = 0;
}

TCourseSim::~TCourseSim() {
    morvel::blob.reset();
    morvel::level.reset();
    kinetra::DestroyPhysics();
    present::StopInput();
}

void TCourseSim::Step(const TFrameKeys& keys) {
    // Keys of the first game frame are lost with the menu's screen; the driver
    // behaves the same.
    if (frame >= 2) {
        if (keys.left != leftHeld) {
            keys.left ? present::KeyDownEvent(KeyLeft) : present::KeyUpEvent(KeyLeft);
            leftHeld = keys.left;
        }
        if (keys.right != rightHeld) {
            keys.right ? present::KeyDownEvent(KeyRight) : present::KeyUpEvent(KeyRight);
            rightHeld = keys.right;
        }
        if (keys.up) {
            present::KeyDownEvent(KeyUp);
            present::KeyUpEvent(KeyUp);
        }
    }
    simPlatform->clock = clock;
    morvel::blob->Update();
    morvel::level->Update();
    kinetra::UpdatePhysics();
    if (morvel::blob->x > 1900.0f && morvel::blob->y < 275.0f) {
        finished = true;
    }
    accumulator += Remainder;
    std::uint32_t step = Period;
    if (accumulator >= RefreshHz) {
        accumulator -= RefreshHz;
        step += 1;
    }
    clock += step;
    ++frame;
}

TSnapshot TCourseSim::Save() const {
    TSnapshot s;
    for (const auto& m : AllMasses()) {
        s.masses.push_back({m->x, m->y, m->oldX, m->oldY});
    }
    for (const auto& p : Platforms()) {
        s.platformLastX.push_back(p->lastX);
    }
    const morvel::TBlob& b = *morvel::blob;
    s.blobX = b.x;
    s.blobY = b.y;
    s.blobVX = b.vx;
    s.blobVY = b.vy;
    s.blobSpeed = b.speed;
    s.direction = b.direction;
    s.iterations = kinetra::currentWorld->iterations;
    s.frame = frame;
    s.clock = clock;
    s.accumulator = accumulator;
    s.finished = finished;
    return s;
}

void TCourseSim::Load(const TSnapshot& s) {
    const auto masses = AllMasses();
    for (std::size_t i = 0; i < masses.size() && i < s.masses.size(); ++i) {
        masses[i]->x = s.masses[i].x;
        masses[i]->y = s.masses[i].y;
        masses[i]->oldX = s.masses[i].oldX;
        masses[i]->oldY = s.masses[i].oldY;
    }
    const auto platforms = Platforms();
    for (std::size_t i = 0; i < platforms.size() && i < s.platformLastX.size(); ++i) {
        platforms[i]->lastX = s.platformLastX[i];
    }
    morvel::TBlob& b = *morvel::blob;
    b.x = s.blobX;
    b.y = s.blobY;
    b.vx = s.blobVX;
    b.vy = s.blobVY;
    b.speed = s.blobSpeed;
    b.direction = s.direction;
    kinetra::currentWorld->iterations = s.iterations;
    frame = s.frame;
    clock = s.clock;
    accumulator = s.accumulator;
    finished = s.finished;
}

float TCourseSim::X() const {
    return morvel::blob->x;
}
float TCourseSim::Y() const {
    return morvel::blob->y;
}
float TCourseSim::Speed() const {
    return morvel::blob->speed;
}

float TCourseSim::Bottom() const {
    float bottom = -1e9f;
    for (const auto& m : morvel::blob->masses) {
        bottom = std::max(bottom, m->y);
    }
    return bottom;
}

} // namespace find_finish

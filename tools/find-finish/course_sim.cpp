#include "course_sim.h"

#include "blob.h"
#include "course_setup.h"
#include "globals.h"
#include "level.h"
#include "moving_platform.h"
#include "program.h"
#include <kinetra/kinetra.h>
#include <present/host_platform.h>
#include <present/present.h>

#include <memory>

namespace find_finish {

namespace {

// The driver's headless platform, with a clock that snapshots can set: time
// passes only through the game's own pacing, and the one key it delivers by
// itself is the Enter that leaves the mode menu on its first frame.
class TSimPlatform : public present::TPlatform {
public:
    explicit TSimPlatform(std::uint32_t clockStart) : clock(clockStart) {}
    std::uint32_t Millis() override { return clock; }
    void Sleep(std::uint32_t ms) override { clock += ms; }
    void PumpEvents() override {
        if (enterDue) {
            enterDue = false;
            present::KeyDownEvent(present::key::Enter);
            present::KeyUpEvent(present::key::Enter);
        }
    }
    bool Headless() const override { return true; }
    void VerticalBlankPassed() override { clock += 1; }
    std::uint32_t clock;
    bool enterDue = true;
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

TCourseSim::TCourseSim(std::uint32_t clockStart) {
    simPlatform = std::make_shared<TSimPlatform>(clockStart);
    present::SetPlatform(simPlatform);
    morvel::TFrameCounter frames(0);
    started = morvel::StartMorvel(frames).play;
}

TCourseSim::~TCourseSim() {
    if (started) {
        morvel::EndMorvel();
    }
}

void TCourseSim::Step(const TFrameKeys& keys) {
    // Keys of the first game frame are lost with the menu's screen; the driver
    // behaves the same.
    if (frame >= 2) {
        if (keys.left != leftHeld) {
            keys.left ? present::KeyDownEvent(present::key::Left)
                      : present::KeyUpEvent(present::key::Left);
            leftHeld = keys.left;
        }
        if (keys.right != rightHeld) {
            keys.right ? present::KeyDownEvent(present::key::Right)
                       : present::KeyUpEvent(present::key::Right);
            rightHeld = keys.right;
        }
        if (keys.up) {
            present::KeyDownEvent(present::key::Up);
            present::KeyUpEvent(present::key::Up);
        }
    }
    // Drawing is left out: it changes nothing of the simulation.
    morvel::StepCourse();
    present::PresentFrame(-1);
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
    s.clock = simPlatform->clock;
    present::TPacingSchedule schedule;
    present::GetPacingSchedule(schedule);
    s.target = schedule.target;
    s.accumulator = schedule.accumulator;
    s.finished = morvel::finished != 0;
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
    simPlatform->clock = s.clock;
    present::SetPacingSchedule({s.target, s.accumulator});
    morvel::finished = s.finished ? 1 : 0;
}

bool TCourseSim::Finished() const {
    return morvel::finished != 0;
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

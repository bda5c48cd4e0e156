#include "course_setup.h"

#include "blob.h"
#include "course.h"
#include "finish.h"
#include "globals.h"
#include "level.h"
#include <kinetra/kinetra.h>

#include <memory>

namespace morvel {

namespace {

constexpr int kLevelWidth = 2048;
constexpr int kLevelHeight = 1024;
constexpr int kStartX = 25;
constexpr int kStartY = 850;
constexpr float kGravity = 0.1f;
constexpr int kPasses = 2;
constexpr float kWallFriction = 1.0f;

} // namespace

void CreateCourseWorld() {
    kinetra::CreatePhysics(static_cast<float>(kLevelWidth), static_cast<float>(kLevelHeight),
                           kGravity, 0, kPasses);
    level = std::make_shared<TLevel>();
    level->width = kLevelWidth;
    level->height = kLevelHeight;
    level->startX = kStartX;
    level->startY = kStartY;
    kinetra::SetPhysicsWorld(0, 0, static_cast<float>(level->width),
                             static_cast<float>(level->height), kWallFriction);
}

void SetUpCourse() {
    CreateCourseWorld();
    blob = TBlob::Create(static_cast<float>(level->startX), static_cast<float>(level->startY));
    BuildCourse();
    finished = 0;
}

void TearDownCourse() {
    blob.reset();
    level.reset();
    kinetra::DestroyPhysics();
}

bool StepCourse() {
    // Update may replace the global blob (reset): hold this one until it returns.
    const std::shared_ptr<TBlob> player = blob;
    player->Update();
    level->Update();
    kinetra::UpdatePhysics();
    return UpdateFinish();
}

} // namespace morvel

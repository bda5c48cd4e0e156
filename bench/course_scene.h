// The game's course without drawing: the world, level, blob and course built as the
// game builds them, on a headless platform whose clock advances by one 60 Hz frame
// per tick, so the lifts and platforms move as they do in play.
#pragma once

#include "blob.h"
#include "course.h"
#include "globals.h"
#include "input.h"
#include "level.h"
#include <kinetra/kinetra.h>
#include <present/headless.h>
#include <present/host_platform.h>

#include <cstdint>
#include <memory>

namespace scenes {

class TCourseScene {
public:
    explicit TCourseScene(std::uint32_t clockStart = 1000000)
        : platform(std::make_shared<present::THeadlessPlatform>(clockStart)) {
        present::SetPlatform(platform);
        present::StartInput();
        kinetra::CreatePhysics(2048, 1024, 0.1f, 0, 2);
        morvel::level = std::make_shared<morvel::TLevel>();
        morvel::level->width = 2048;
        morvel::level->height = 1024;
        morvel::level->startX = 25;
        morvel::level->startY = 850;
        kinetra::SetPhysicsWorld(0, 0, 2048, 1024, 1.0f);
        morvel::blob = morvel::TBlob::Create(25, 850);
        morvel::BuildCourse();
    }

    ~TCourseScene() {
        morvel::blob.reset();
        morvel::level.reset();
        kinetra::DestroyPhysics();
        present::StopInput();
    }

    TCourseScene(const TCourseScene&) = delete;
    TCourseScene& operator=(const TCourseScene&) = delete;

    // One game frame without its drawing: the blob, the course objects, the tick.
    void Tick() {
        AdvanceClock();
        morvel::blob->Update();
        morvel::level->Update();
        kinetra::UpdatePhysics();
    }

    // The course's motion alone: the lifts and platforms go where the clock puts them.
    void MoveCourse() {
        AdvanceClock();
        morvel::level->Update();
    }

private:
    // The pacing's schedule: 1000 / 60 ms, the remainder spread over the second.
    void AdvanceClock() {
        ++frame;
        platform->Sleep(static_cast<std::uint32_t>(frame * 1000 / 60 - (frame - 1) * 1000 / 60));
    }

    std::shared_ptr<present::THeadlessPlatform> platform;
    std::int64_t frame = 0;
};

} // namespace scenes

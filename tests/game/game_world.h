// A fresh physics world, level and key tables for each game test, torn down
// again so no test sees another's objects.
#pragma once

#include "blob.h"
#include "globals.h"
#include "headless.h"
#include "host_platform.h"
#include "input.h"
#include <kinetra/kinetra.h>
#include "level.h"

#include <gtest/gtest.h>

#include <memory>

namespace morvel_test {

class GameWorld : public ::testing::Test {
protected:
    void SetUp() override {
        platform = std::make_shared<present::THeadlessPlatform>(5000);
        present::SetPlatform(platform);
        present::StartInput();
        kinetra::CreatePhysics(2048, 1024, 0.1f, 0, 2);
        morvel::level = std::make_shared<morvel::TLevel>();
        morvel::level->width = 2048;
        morvel::level->height = 1024;
        morvel::level->startX = 25;
        morvel::level->startY = 850;
        kinetra::SetPhysicsWorld(0, 0, 2048, 1024, 1.0f);
    }

    void TearDown() override {
        morvel::blob.reset();
        morvel::level.reset();
        kinetra::DestroyPhysics();
        present::StopInput();
    }

    static void Press(int key) {
        present::KeyDownEvent(key);
        present::KeyUpEvent(key);
    }

    std::shared_ptr<present::THeadlessPlatform> platform;
};

} // namespace morvel_test

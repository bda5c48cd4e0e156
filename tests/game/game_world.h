// A fresh physics world, level and key tables for each game test, torn down
// again so no test sees another's objects.
#pragma once

#include "blob.h"
#include "course_setup.h"
#include "globals.h"
#include "input.h"
#include "level.h"
#include <kinetra/kinetra.h>
#include <present/headless.h>
#include <present/host_platform.h>

#include <gtest/gtest.h>

#include <memory>

namespace morvel_test {

class GameWorld : public ::testing::Test {
protected:
    void SetUp() override {
        platform = std::make_shared<present::THeadlessPlatform>(5000);
        present::SetPlatform(platform);
        present::StartInput();
        morvel::CreateCourseWorld();
    }

    void TearDown() override {
        morvel::TearDownCourse();
        present::StopInput();
    }

    static void Press(int key) {
        present::KeyDownEvent(key);
        present::KeyUpEvent(key);
    }

    std::shared_ptr<present::THeadlessPlatform> platform;
};

} // namespace morvel_test

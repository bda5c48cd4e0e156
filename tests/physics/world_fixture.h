// A fresh world for each test, dropped afterwards.
#pragma once

#include <kinetra/kinetra.h>

#include <gtest/gtest.h>

class WorldTest : public ::testing::Test {
protected:
    void SetUp() override { kinetra::CreatePhysics(2048, 1024, 0.0f, 0.0f, 1); }
    void TearDown() override { kinetra::DestroyPhysics(); }
};

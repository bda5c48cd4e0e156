#include "camera.h"
#include "finish.h"

#include <gtest/gtest.h>

namespace morvel {
namespace {

const TViewFrame kWindow{400, 300, 800, 600, 2048, 1024};

TEST(Camera, StartOn800x600ShowsTheBottomLeftCorner) {
    const TViewOrigin origin = CameraOrigin(25, 850, kWindow);
    EXPECT_FLOAT_EQ(origin.x, 0);
    EXPECT_FLOAT_EQ(origin.y, -424);
}

TEST(Camera, CentresTheBlobAwayFromTheEdges) {
    const TViewOrigin origin = CameraOrigin(1000.5f, 500.25f, kWindow);
    EXPECT_FLOAT_EQ(origin.x, 400 - 1000.5f);
    EXPECT_FLOAT_EQ(origin.y, 300 - 500.25f);
}

TEST(Camera, StopsAtTheFarEdges) {
    const TViewOrigin origin = CameraOrigin(2040, 1020, kWindow);
    EXPECT_FLOAT_EQ(origin.x, 800 - 2048);
    EXPECT_FLOAT_EQ(origin.y, 600 - 1024);
}

TEST(Camera, FarEdgeWinsOnACourseSmallerThanTheScreen) {
    const TViewFrame wide{640, 384, 1280, 768, 1000, 500};
    const TViewOrigin origin = CameraOrigin(10, 10, wide);
    EXPECT_FLOAT_EQ(origin.x, 1280 - 1000);
    EXPECT_FLOAT_EQ(origin.y, 768 - 500);
}

TEST(FinishArea, BothBoundsAreStrict) {
    EXPECT_FALSE(InFinishArea(1900.0f, 100.0f));
    EXPECT_TRUE(InFinishArea(1900.5f, 274.0f));
    EXPECT_FALSE(InFinishArea(1900.5f, 275.0f));
    EXPECT_TRUE(InFinishArea(2047.0f, 274.99f));
    EXPECT_FALSE(InFinishArea(25.0f, 850.0f));
}

} // namespace
} // namespace morvel

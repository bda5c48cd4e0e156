#include "recording_renderer.h"

#include <cmath>

namespace present::testing {
namespace {

using ShapesTest = PresentTest;

// The ellipse's outline as drawn: the fan's corners in order.
std::vector<TVertex> FanOutline(const std::vector<TVertex>& fan) {
    std::vector<TVertex> outline{fan[0]};
    for (std::size_t i = 1; i < fan.size(); i += 3) {
        outline.push_back(fan[i]);
    }
    outline.push_back(fan.back());
    return outline;
}

TEST_F(ShapesTest, EllipseCornerCountFollowsItsSize) {
    OpenWindow();
    const struct {
        float width, height;
        std::size_t corners;
    } cases[] = {{40, 40, 40}, {38, 38, 36}, {4, 4, 12}, {-40, 40, 40}, {200, 10, 104}};
    for (const auto& c : cases) {
        renderer->draws.clear();
        FillEllipse(0, 0, c.width, c.height);
        ASSERT_EQ(renderer->draws.size(), 1u);
        EXPECT_EQ(renderer->draws[0].vertices.size(), (c.corners - 2) * 3)
            << c.width << " x " << c.height;
    }
}

TEST_F(ShapesTest, EllipseCornersLieOnTheInscribedEllipseStartingAtTheRight) {
    OpenWindow();
    SetDrawOrigin(5, 7);
    FillEllipse(10, 20, 80, 40);
    ASSERT_EQ(renderer->draws.size(), 1u);
    const auto outline = FanOutline(renderer->draws[0].vertices);
    ASSERT_EQ(outline.size(), 60u);
    // Box (15, 27) .. (95, 67): centre (55, 47), radii 40 and 20.
    EXPECT_FLOAT_EQ(outline[0].x, 95);
    EXPECT_FLOAT_EQ(outline[0].y, 47);
    // A quarter of the way round is the top: angles run counter-clockwise on screen.
    EXPECT_NEAR(outline[15].x, 55, 1e-4);
    EXPECT_NEAR(outline[15].y, 27, 1e-4);
    for (const TVertex& v : outline) {
        const double dx = (v.x - 55.0) / 40.0;
        const double dy = (v.y - 47.0) / 20.0;
        EXPECT_NEAR(dx * dx + dy * dy, 1.0, 1e-5);
    }
}

TEST_F(ShapesTest, EllipseOfAbsurdSizeStaysBounded) {
    OpenWindow();
    FillEllipse(0, 0, 1e30f, 1e30f);
    FillEllipse(0, 0, NAN, 10);
    FillEllipse(0, 0, INFINITY, 10);
    ASSERT_EQ(renderer->draws.size(), 1u);
    EXPECT_LE(renderer->draws[0].vertices.size(), 65536u * 3);
}

TEST_F(ShapesTest, LineIsAQuadOfTheLineWidthAroundTheSegment) {
    OpenWindow();
    SetLineThickness(4);
    RendererDrawLine(0, 0, 10, 0, 100, 50);
    ASSERT_EQ(renderer->draws.size(), 1u);
    const auto& vertices = renderer->draws[0].vertices;
    ASSERT_EQ(vertices.size(), 6u);
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (const TVertex& v : vertices) {
        minX = std::min(minX, v.x);
        maxX = std::max(maxX, v.x);
        minY = std::min(minY, v.y);
        maxY = std::max(maxY, v.y);
    }
    EXPECT_FLOAT_EQ(minX, 100);
    EXPECT_FLOAT_EQ(maxX, 110);
    EXPECT_FLOAT_EQ(minY, 48);
    EXPECT_FLOAT_EQ(maxY, 52);

    renderer->draws.clear();
    RendererDrawLine(3, 3, 3, 3, 0, 0);
    SetLineThickness(NAN);
    RendererDrawLine(0, 0, 10, 0, 0, 0);
    EXPECT_TRUE(renderer->draws.empty());
}

TEST_F(ShapesTest, PolygonNeedsThreeCornersAndWholePairs) {
    OpenWindow();
    RendererFillPolygon({}, 0, 0, 0, 0);
    RendererFillPolygon({0, 0, 1, 0}, 0, 0, 0, 0);
    RendererFillPolygon({0, 0, 1, 0, 1, 1, 0}, 0, 0, 0, 0);
    EXPECT_TRUE(renderer->draws.empty());

    // The corner offset comes before the matrix, the translation after it.
    SetDrawScale(2, 2);
    RendererFillPolygon({0, 0, 1, 0, 0, 1}, 3, 4, 100, 200);
    ASSERT_EQ(renderer->draws.size(), 1u);
    float sumX = 0, sumY = 0;
    for (const TVertex& v : renderer->draws[0].vertices) {
        sumX += v.x;
        sumY += v.y;
    }
    EXPECT_FLOAT_EQ(sumX, 3 * 106 + 2);
    EXPECT_FLOAT_EQ(sumY, 3 * 208 + 2);
}

} // namespace
} // namespace present::testing

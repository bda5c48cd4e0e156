#include "triangulate.h"

#include <gtest/gtest.h>

#include <cmath>

namespace present {
namespace {

double TriangleArea(const TPoint2& a, const TPoint2& b, const TPoint2& c) {
    return 0.5 *
           ((double(b.x) - a.x) * (double(c.y) - a.y) - (double(b.y) - a.y) * (double(c.x) - a.x));
}

double PolygonArea(const std::vector<TPoint2>& p) {
    double sum = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const TPoint2& a = p[i];
        const TPoint2& b = p[(i + 1) % p.size()];
        sum += double(a.x) * b.y - double(b.x) * a.y;
    }
    return 0.5 * sum;
}

bool InsidePolygon(const std::vector<TPoint2>& p, double x, double y) {
    bool inside = false;
    for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        if ((p[i].y > y) != (p[j].y > y) &&
            x < (p[j].x - p[i].x) * (y - p[i].y) / (double(p[j].y) - p[i].y) + p[i].x) {
            inside = !inside;
        }
    }
    return inside;
}

bool InsideTriangle(const TPoint2& a, const TPoint2& b, const TPoint2& c, double x, double y) {
    const TPoint2 p{static_cast<float>(x), static_cast<float>(y)};
    const double d1 = TriangleArea(a, b, p);
    const double d2 = TriangleArea(b, c, p);
    const double d3 = TriangleArea(c, a, p);
    return (d1 > 0 && d2 > 0 && d3 > 0) || (d1 < 0 && d2 < 0 && d3 < 0);
}

// Every sample point inside the polygon is covered by exactly one triangle and
// every point outside by none, and the areas add up.
void ExpectExactCover(const std::vector<TPoint2>& polygon) {
    const std::vector<int> triangles = Triangulate(polygon);
    ASSERT_EQ(triangles.size() % 3, 0u);
    double area = 0;
    for (std::size_t t = 0; t < triangles.size(); t += 3) {
        area += TriangleArea(polygon[triangles[t]], polygon[triangles[t + 1]],
                             polygon[triangles[t + 2]]);
    }
    EXPECT_NEAR(std::abs(area), std::abs(PolygonArea(polygon)),
                1e-6 * std::abs(PolygonArea(polygon)));

    float minX = polygon[0].x, maxX = minX, minY = polygon[0].y, maxY = minY;
    for (const TPoint2& p : polygon) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    for (double y = minY + 0.0137; y < maxY; y += (maxY - minY) / 53.0) {
        for (double x = minX + 0.0071; x < maxX; x += (maxX - minX) / 61.0) {
            int covered = 0;
            for (std::size_t t = 0; t < triangles.size(); t += 3) {
                covered += InsideTriangle(polygon[triangles[t]], polygon[triangles[t + 1]],
                                          polygon[triangles[t + 2]], x, y);
            }
            ASSERT_EQ(covered, InsidePolygon(polygon, x, y) ? 1 : 0) << "at " << x << ", " << y;
        }
    }
}

std::vector<TPoint2> Reversed(std::vector<TPoint2> p) {
    return {p.rbegin(), p.rend()};
}

TEST(Triangulate, CoversConcaveOutlinesExactlyInEitherWinding) {
    // A comb whose first corner sees little of the inside: a fan from it is wrong.
    const std::vector<TPoint2> comb{{0, 0},  {10, 0}, {10, 10}, {8, 10}, {8, 2},  {6, 2},
                                   {6, 10}, {4, 10}, {4, 2},   {2, 2},  {2, 10}, {0, 10}};
    // A ground outline like the course's: a ledge, a dip and a ramp.
    const std::vector<TPoint2> ground{{0, 800},   {300, 800}, {320, 900},  {500, 900},
                                     {700, 700}, {900, 700}, {900, 1024}, {0, 1024}};
    std::vector<TPoint2> star;
    for (int i = 0; i < 34; ++i) {
        const double angle = i * 2 * 3.14159265358979 / 34;
        const double radius = i % 2 ? 30 : 100 + (i % 5) * 7;
        star.push_back({static_cast<float>(radius * std::cos(angle)),
                        static_cast<float>(radius * std::sin(angle))});
    }
    for (const auto& polygon : {comb, ground, star}) {
        ExpectExactCover(polygon);
        ExpectExactCover(Reversed(polygon));
    }
}

TEST(Triangulate, ToleratesRepeatsStraightRunsAndSelfTouching) {
    // Repeated corners (also first = last) and collinear runs.
    ExpectExactCover(
        {{0, 0}, {0, 0}, {5, 0}, {10, 0}, {10, 5}, {10, 10}, {10, 10}, {0, 10}, {0, 0}});
    // Two lobes meeting at a repeated centre, as a fan outline drawn through its centre.
    ExpectExactCover({{0, 0}, {10, -5}, {10, 5}, {0, 0}, {-10, 5}, {-10, -5}});
    // A square with a slit cut in from the side and back.
    ExpectExactCover({{0, 0}, {10, 0}, {10, 4}, {5, 5}, {10, 6}, {10, 10}, {0, 10}});
}

TEST(Triangulate, OutlinesWithoutAreaGiveNothing) {
    EXPECT_TRUE(Triangulate({}).empty());
    EXPECT_TRUE(Triangulate({{1, 1}, {1, 1}, {1, 1}}).empty());
    EXPECT_TRUE(Triangulate({{0, 0}, {1, 1}, {2, 2}, {3, 3}}).empty());
    EXPECT_TRUE(Triangulate({{0, 0}, {5, 0}, {0, 0}, {5, 0}}).empty());
    EXPECT_TRUE(Triangulate({{0, 0}, {NAN, 0}, {0, 5}}).empty());
    EXPECT_TRUE(Triangulate({{0, 0}, {INFINITY, 0}, {0, 5}}).empty());
}

TEST(Triangulate, CrossingOutlinesEndWithValidTriangles) {
    const std::vector<TPoint2> bowTie{{0, 0}, {10, 10}, {10, 0}, {0, 10}};
    std::vector<TPoint2> scribble;
    for (int i = 0; i < 40; ++i) {
        scribble.push_back({static_cast<float>((i * 37) % 23), static_cast<float>((i * 17) % 29)});
    }
    for (const auto& polygon : {bowTie, scribble}) {
        const std::vector<int> triangles = Triangulate(polygon);
        EXPECT_EQ(triangles.size() % 3, 0u);
        EXPECT_LE(triangles.size(), (polygon.size() - 2) * 3);
        for (const int index : triangles) {
            EXPECT_GE(index, 0);
            EXPECT_LT(index, static_cast<int>(polygon.size()));
        }
    }
}

} // namespace
} // namespace present

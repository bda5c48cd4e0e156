// The engine's drawing against a recording stand-in for the presentation calls it makes.
#include <kinetra/draw.h>
#include <kinetra/zone.h>

#include <present/present.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> calls;
float originX = 0.0f, originY = 0.0f;
float anchorX = 0.0f, anchorY = 0.0f;

std::string Text(float v) {
    std::string s = std::to_string(v);
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') {
        s.pop_back();
    }
    return s;
}

} // namespace

namespace present {

void GetDrawOrigin(float& x, float& y) {
    x = originX;
    y = originY;
}
void GetDrawAnchor(float& x, float& y) {
    x = anchorX;
    y = anchorY;
}
void SetDrawColour(int r, int g, int b) {
    calls.push_back("colour " + std::to_string(r) + " " + std::to_string(g) + " " +
                    std::to_string(b));
}
void RendererFillPolygon(const std::vector<float>& points, float ax, float ay, float tx, float ty) {
    calls.push_back("fill " + std::to_string(points.size() / 2) + " " + Text(ax) + " " + Text(ay) +
                    " " + Text(tx) + " " + Text(ty));
}
void RendererDrawLine(float x0, float y0, float x1, float y1, float tx, float ty) {
    calls.push_back("line " + Text(x0) + " " + Text(y0) + " " + Text(x1) + " " + Text(y1) + " " +
                    Text(tx) + " " + Text(ty));
}

} // namespace present

class DrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        originX = 10;
        originY = 20;
        anchorX = 1;
        anchorY = 2;
    }
};

TEST_F(DrawTest, OutlineStartsWithTheClosingLine) {
    kinetra::DrawPolygon({0, 0, 10, 0, 10, 10}, 0, 100, 200);
    const std::vector<std::string> expected{
        "line 11 12 1 2 109.5 219.5",
        "line 1 2 11 2 109.5 219.5",
        "line 11 2 11 12 109.5 219.5",
    };
    EXPECT_EQ(calls, expected);
}

TEST_F(DrawTest, FilledPolygonPassesAnchorAndPlacement) {
    kinetra::DrawPolygon({0, 0, 10, 0, 10, 10}, 1, 100, 200);
    EXPECT_EQ(calls, std::vector<std::string>{"fill 3 1 2 110 220"});
    calls.clear();
    kinetra::DrawPolygon({}, 0, 0, 0);
    EXPECT_TRUE(calls.empty());
}

TEST_F(DrawTest, OnlySolidZonesDrawAndLeaveBlackBehind) {
    auto points = std::make_shared<std::vector<float>>(std::vector<float>{0, 0, 4, 0, 4, 4});
    for (int kind : {0, 1}) {
        kinetra::TZone::Create(points, kind, 1, 3, 1)->Draw();
    }
    EXPECT_TRUE(calls.empty());
    auto solid = kinetra::TZone::Create(points, 2, 1, 3, 1);
    solid->SetPosition(5, 6);
    solid->Draw();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0], "fill 3 1 2 15 26");
    EXPECT_EQ(calls[1], "colour 0 0 0");
    EXPECT_EQ(calls[2], "line 5 6 1 2 14.5 25.5");
}

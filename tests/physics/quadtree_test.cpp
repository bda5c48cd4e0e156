#include <kinetra/quadtree.h>
#include <kinetra/zone.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace kinetra;

namespace {

const std::vector<float> kSquare{0, 0, 100, 0, 100, 100, 0, 100};

int CountLeaves(const TQuadTree& node) {
    if (node.children.empty()) {
        return 1;
    }
    int leaves = 0;
    for (const auto& child : node.children) {
        leaves += CountLeaves(*child);
    }
    return leaves;
}

} // namespace

TEST(SegmentsIntersectTest, OnlyProperCrossingsCount) {
    EXPECT_EQ(SegmentsIntersect(0, 0, 10, 10, 0, 10, 10, 0), 1);
    EXPECT_EQ(SegmentsIntersect(0, 0, 10, 0, 5, 0, 5, 10), 0);   // end point of the second
    EXPECT_EQ(SegmentsIntersect(0, 0, 10, 0, 10, -5, 10, 5), 0); // end point of the first
    EXPECT_EQ(SegmentsIntersect(0, 0, 10, 0, 0, 1, 10, 1), 0);   // parallel
    EXPECT_EQ(SegmentsIntersect(0, 0, 10, 0, 5, 0, 15, 0), 0);   // collinear overlap
    EXPECT_EQ(SegmentsIntersect(0, 0, 10, 0, 20, -5, 20, 5), 0); // lines cross, segments do not
    EXPECT_EQ(SegmentsIntersect(0, 0, 0, 0, 0, 0, 10, 10), 0);   // degenerate
}

TEST(QuadTreeTest, FilledShapeCoversCellsNoEdgeCrosses) {
    auto filled = TQuadTree::Build(kSquare, TZoneKind::Solid, 40, 40, 10, 10, 1);
    ASSERT_NE(filled, nullptr);
    EXPECT_TRUE(filled->children.empty());
    EXPECT_EQ(filled->x, 40.0f);
    EXPECT_EQ(filled->w, 10.0f);
    EXPECT_EQ(TQuadTree::Build(kSquare, TZoneKind::Outline, 40, 40, 10, 10, 1), nullptr);
    EXPECT_EQ(TQuadTree::Build(kSquare, TZoneKind::Solid, 140, 40, 10, 10, 1), nullptr);

    // Reversed winding covers the cell as well.
    const std::vector<float> reversed{0, 100, 100, 100, 100, 0, 0, 0};
    EXPECT_NE(TQuadTree::Build(reversed, TZoneKind::Solid, 40, 40, 10, 10, 1), nullptr);
    EXPECT_EQ(TQuadTree::Build(kSquare, static_cast<TZoneKind>(7), -1, -1, 102, 102, 1), nullptr);
}

TEST(QuadTreeTest, PointsOnACellEdgeAreNotInside) {
    const std::vector<float> alongEdge{0, 0, 0, 10};
    EXPECT_EQ(TQuadTree::Build(alongEdge, TZoneKind::Open, 0, 0, 10, 10, 1), nullptr);
    const std::vector<float> within{0, 0, 5, 5};
    EXPECT_NE(TQuadTree::Build(within, TZoneKind::Open, 0, 0, 10, 10, 1), nullptr);
}

TEST(QuadTreeTest, OpenLineHasNoClosingSegment) {
    const std::vector<float> corner{0, 0, 100, 0, 100, 100};
    EXPECT_EQ(TQuadTree::Build(corner, TZoneKind::Open, 40, 45, 10, 10, 1), nullptr);
    EXPECT_NE(TQuadTree::Build(corner, TZoneKind::Outline, 40, 45, 10, 10, 1), nullptr);
}

TEST(QuadTreeTest, DeeperTreesKeepOnlyTouchedCellsInOrder) {
    // An L-shaped line along the top and right edges of the box misses the bottom-left.
    const std::vector<float> line{0, 10, 90, 10, 90, 100};
    auto tree = TQuadTree::Build(line, TZoneKind::Open, 0, 0, 100, 100, 2);
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->children.size(), 3u);
    EXPECT_EQ(tree->children[0]->x, 0.0f);
    EXPECT_EQ(tree->children[1]->x, 50.0f);
    EXPECT_EQ(tree->children[2]->y, 50.0f);
    EXPECT_EQ(tree->children[2]->x, 50.0f);

    auto filled = TQuadTree::Build(kSquare, TZoneKind::Solid, -1, -1, 102, 102, 3);
    ASSERT_NE(filled, nullptr);
    EXPECT_EQ(CountLeaves(*filled), 16);
}

TEST(QuadTreeTest, OverlapsCountsTouchingAndPrunesEmptyCells) {
    const std::vector<float> line{0, 10, 90, 10, 90, 100};
    auto tree = TQuadTree::Build(line, TZoneKind::Open, 0, 0, 100, 100, 2);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->Overlaps(0, 0, 20, 70, 5), 0);   // in the missing bottom-left cell
    EXPECT_EQ(tree->Overlaps(0, 0, 45, 70, 5), 1);   // touches the bottom-right cell's edge
    EXPECT_EQ(tree->Overlaps(0, 0, 100, 100, 0), 1); // a point on the corner
    EXPECT_EQ(tree->Overlaps(0, 0, 100.01f, 50, 0), 0);
    EXPECT_EQ(tree->Overlaps(200, 0, 120, 70, 5), 0); // the shifted tree is elsewhere
    EXPECT_EQ(tree->Overlaps(200, 0, 290, 70, 5), 1);
}

TEST(QuadTreeTest, ExcessiveDepthIsBounded) {
    auto tree = TQuadTree::Build(kSquare, TZoneKind::Solid, -1, -1, 102, 102, 60);
    ASSERT_NE(tree, nullptr);
    const int limit = 1 << (2 * (TQuadTree::kMaxDepth - 1));
    EXPECT_LE(CountLeaves(*tree), limit);
    EXPECT_NE(TQuadTree::Build(kSquare, TZoneKind::Solid, -1, -1, 102, 102, -3), nullptr);
}

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include <korvex/kxcore.h>

#include "CKXAttribSet.h"
#include "CKXDoc.h"
#include "CKXLine.h"
#include "CKXTree.h"
#include "CKXTreeIter.h"

namespace {

const CFltExtents kExtents(0, 0, 16, 16);

std::pair<int, int> CellOf(const CFltExtents& box) {
    CKXTree tree;
    tree.Setup(kExtents);
    return tree.Insert(0, box);
}

TEST(Quadtree, LevelRecords) {
    CKXTree tree;
    const int expected[5] = {0, 3, 15, 63, 255};
    for (int l = 0; l < 5; ++l) {
        EXPECT_EQ(tree.GetLevel(l).level, l);
        EXPECT_EQ(tree.GetLevel(l).maxCell, expected[l]);
    }
}

TEST(Quadtree, ContainmentPlacesBoxesInTheDeepestCell) {
    // Straddles the centre: the root.
    EXPECT_EQ(CellOf({7, 7, 9, 9}), std::make_pair(0, 0));
    // In the lower-left sixteenth but in no smaller square.
    EXPECT_EQ(CellOf({1, 1, 3, 3}), std::make_pair(2, 0));
    // In the upper-right quadrant of the lower-left quadrant: 0 | 2 << 2.
    EXPECT_EQ(CellOf({5, 5, 7, 7}), std::make_pair(2, 8));
    // Quadrant bits: level 1 in bits 0-1, then 2-3, ...
    EXPECT_EQ(CellOf({0.1, 0.1, 0.2, 0.2}), std::make_pair(4, 0));
    EXPECT_EQ(CellOf({15.5, 15.5, 15.9, 15.9}), std::make_pair(4, 2 | 2 << 2 | 2 << 4 | 2 << 6));
    EXPECT_EQ(CellOf({0.5, 9, 1, 10.5}), std::make_pair(2, 1));  // upper-left, then its lower-left
    EXPECT_EQ(CellOf({0.5, 9, 1, 10}), std::make_pair(4, 1 | 1 << 6));
    EXPECT_EQ(CellOf({12.5, 0.5, 13, 1}), std::make_pair(4, 3 | 3 << 2));
    // Edges are inclusive: the whole lower-left quadrant.
    EXPECT_EQ(CellOf({0, 0, 8, 8}), std::make_pair(1, 0));
}

// The descent by cell squares that FindContaining must agree with.
CKXTreeIter::Cell DescendBySquares(const CKXTreeIter::NormBox& box) {
    CKXTreeIter::Cell cell;
    while (cell.level < CKXTreeIter::kMaxLevel) {
        int q = 0;
        while (q < 4 && !CKXTreeIter::Contains(CKXTreeIter::Child(cell, q), box)) ++q;
        if (q == 4) break;
        cell = CKXTreeIter::Child(cell, q);
    }
    return cell;
}

TEST(Quadtree, ContainmentAgreesWithADescentBySquaresOnEveryBorder) {
    // Spans starting and ending on and between the borders of the deepest
    // cells, zero-width spans on borders and reversed spans: ties on shared
    // borders are where a shortcut would go astray.
    std::vector<double> stops;
    for (int i = -1; i <= 33; ++i) stops.push_back(i / 32.0);
    stops.push_back(0.3);
    stops.push_back(1.0 + 1e-12);
    const CKXTreeIter iter(kExtents);
    for (double u0 : stops)
        for (double u1 : stops)
            for (double v0 : {0.0, 0.25, 0.5, 0.75, 0.8, 1.0})
                for (double v1 : {0.0, 0.5, 0.5625, 1.0}) {
                    const CKXTreeIter::NormBox box{u0, v0, u1 - u0, v1 - v0};
                    const CKXTreeIter::Cell expected = DescendBySquares(box);
                    const CKXTreeIter::Cell found = iter.FindContaining(box);
                    ASSERT_EQ(found.level, expected.level) << u0 << " " << u1 << " " << v0 << " " << v1;
                    ASSERT_EQ(found.index, expected.index) << u0 << " " << u1 << " " << v0 << " " << v1;
                    ASSERT_EQ(found.x, expected.x);
                    ASSERT_EQ(found.y, expected.y);
                    ASSERT_EQ(found.size, expected.size);
                }
}

TEST(Quadtree, AHorizontalLineOnAMidlineOfTheRightHalfGoesUp) {
    // Both rows hold it; the upper-right quadrant comes before the
    // lower-right one.
    EXPECT_EQ(CellOf({9, 8, 15, 8}), std::make_pair(1, 2));
    EXPECT_EQ(CellOf({1, 8, 7, 8}), std::make_pair(1, 0));
}

TEST(Quadtree, BoxesThatFitNowhereStayInTheRoot) {
    EXPECT_EQ(CellOf(CFltExtents::AlwaysVisible()), std::make_pair(0, 0));
    EXPECT_EQ(CellOf(CFltExtents()), std::make_pair(0, 0));
    EXPECT_EQ(CellOf({NAN, 0, 1, 1}), std::make_pair(0, 0));
    EXPECT_EQ(CellOf({-5, -5, -4, -4}), std::make_pair(0, 0));
}

TEST(Quadtree, DegenerateTreeExtentsDoNotDivideByZero) {
    CKXTree tree;
    tree.Setup({5, 0, 5, 10});  // zero width
    const auto cell = tree.Insert(0, {5, 1, 5, 2});
    EXPECT_LE(cell.first, 4);
    EXPECT_EQ(tree.Size(), 1u);
}

TEST(Quadtree, PostOrderWalkVisitsChildrenFirstAndTheRootLast) {
    CKXTree tree;
    std::vector<std::pair<int, int>> visits;
    tree.WalkPostOrder([&](int level, int cell, const std::vector<std::int32_t>&) { visits.emplace_back(level, cell); });
    ASSERT_EQ(visits.size(), 341u);
    EXPECT_EQ(visits[0], std::make_pair(4, 0));
    EXPECT_EQ(visits[1], std::make_pair(4, 64));
    EXPECT_EQ(visits[2], std::make_pair(4, 128));
    EXPECT_EQ(visits[3], std::make_pair(4, 192));
    EXPECT_EQ(visits[4], std::make_pair(3, 0));
    EXPECT_EQ(visits[5], std::make_pair(4, 16));
    EXPECT_EQ(visits.back(), std::make_pair(0, 0));
    EXPECT_EQ(visits[visits.size() - 2], std::make_pair(1, 3));
}

TEST(Quadtree, WindowQueryIsPreOrderAndTouchingOverlaps) {
    CKXTreeIter iter(kExtents);
    std::vector<CKXTreeIter::Cell> cells;
    iter.FindOverlapping({0, 0, 1, 1}, cells);
    ASSERT_GE(cells.size(), 5u);
    EXPECT_EQ(cells[0].level, 0);
    for (int l = 1; l <= 4; ++l) {
        EXPECT_EQ(cells[static_cast<std::size_t>(l)].level, l);
        EXPECT_EQ(cells[static_cast<std::size_t>(l)].index, 0);
    }
    // The window's top edge touches the upper-left cell at level 4 (y = 1).
    bool touching = false;
    for (const auto& c : cells) touching |= (c.level == 4 && c.index == (0 | 1 << 6));
    EXPECT_TRUE(touching);
    for (const auto& c : cells) EXPECT_LE(c.level, 4);

    iter.FindOverlapping({0, 0, 16, 16}, cells);
    EXPECT_EQ(cells.size(), 341u);
}

TEST(Quadtree, DocumentIndexesEveryTopLevelEntity) {
    KXDOC handle = KXCreateDocInstance();
    CKXDoc& doc = *static_cast<CKXDoc*>(handle);
    tagKXAttrib a{1, 2, 0, 0, 0};
    KXAttribSet(handle, &a);
    const double p0[2] = {0, 0}, p1[2] = {16, 16}, q0[2] = {1, 1}, q1[2] = {3, 3};
    KXAddLine(handle, p0, p1, nullptr, nullptr);
    KXAddLine(handle, q0, q1, nullptr, nullptr);
    doc.RecalcExtents();
    doc.BuildTree();
    EXPECT_EQ(doc.Tree().Size(), 3u);
    EXPECT_EQ(doc.Tree().Cell(0, 0), (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(doc.Tree().Cell(2, 0), (std::vector<std::int32_t>{2}));
    // Building again starts from empty cells.
    doc.BuildTree();
    EXPECT_EQ(doc.Tree().Size(), 3u);
    KXDeleteDocInstance(handle);
}

}  // namespace

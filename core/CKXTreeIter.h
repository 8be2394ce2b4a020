// Cursor over the quadtree's cell geometry in coordinates normalised to the
// tree extents (0 at the minimum, 1 at the maximum of each axis). Finds the
// cell that contains a box (insertion) or every cell that overlaps a window
// (drawing).
#pragma once

#include <vector>

#include "geom/CFltExtents.h"

class CKXTreeIter {
public:
    static constexpr int kMaxLevel = 4;

    struct Cell {
        int level = 0;
        int index = 0;
        double x = 0.0;
        double y = 0.0;
        double size = 1.0;
    };

    // A box in normalised coordinates: lower-left corner, width, height.
    struct NormBox {
        double u = 0.0;
        double v = 0.0;
        double w = 0.0;
        double h = 0.0;
    };

    explicit CKXTreeIter(const CFltExtents& treeExtents) : m_tree(treeExtents) {}

    // Normalises a box to the tree extents. An axis of zero extent maps to 0.
    NormBox Normalise(const CFltExtents& box) const;

    // Child square of a cell in quadrant q (0 lower-left, 1 upper-left,
    // 2 upper-right, 3 lower-right), with its index c | q << 2L.
    static Cell Child(const Cell& parent, int quadrant);
    static bool Contains(const Cell& cell, const NormBox& box);
    static bool Overlaps(const Cell& cell, const NormBox& box);

    // Containment mode: the deepest cell (down to level 4) reached by
    // descending into the first quadrant whose square holds the whole box.
    Cell FindContaining(const CFltExtents& box) const;
    Cell FindContaining(const NormBox& box) const;

    // Window mode: the root first, then a pre-order walk into every child
    // that overlaps the window (touching counts).
    void FindOverlapping(const CFltExtents& window, std::vector<Cell>& cells) const;

private:
    void Descend(const Cell& cell, const NormBox& box, std::vector<Cell>& cells) const;

    CFltExtents m_tree;
};

#include "CKXTreeIter.h"

#include <algorithm>
#include <cmath>

namespace {

// Position and size of [lo, hi] within [min, max] as fractions of the range;
// a range of zero extent maps everything to 0.
void NormaliseAxis(double lo, double hi, double min, double max, double& pos, double& size) {
    const double range = max - min;
    if (!(range > 0.0)) {
        pos = 0.0;
        size = 0.0;
        return;
    }
    pos = (lo - min) / range;
    size = (hi - lo) / range;
}

// Cells per axis at the deepest level.
constexpr int kDeepCells = 1 << CKXTreeIter::kMaxLevel;

// One axis of a normalised box as whole cell numbers at the deepest level.
// Cell borders are multiples of a power of two, and scaling by a power of
// two is exact, so these integer tests agree exactly with comparing the
// span against the borders of a cell at any level.
class AxisCells {
public:
    // lo and hi lie in [0, 1] (hi may be below lo when a width is negative).
    AxisCells(double lo, double hi)
        : m_lowest(Ceil(std::max(hi, -1.0) * kDeepCells) - 1), m_highest(Floor(lo * kDeepCells)) {}

    // Whether cell `cell` of a level `shift` levels above the deepest holds
    // the span: its lower border is at or before lo and its upper border at
    // or past hi.
    bool Holds(int cell, int shift) const { return cell >= (m_lowest >> shift) && cell <= (m_highest >> shift); }

private:
    // std::ceil and std::floor for the small finite values above, without
    // the library's general rounding.
    static int Ceil(double x) {
        const int whole = static_cast<int>(x);
        return whole + (x > whole ? 1 : 0);
    }
    static int Floor(double x) {
        const int whole = static_cast<int>(x);
        return whole - (x < whole ? 1 : 0);
    }

    int m_lowest;   // deepest cell whose upper border is the first at or past hi
    int m_highest;  // deepest cell whose lower border is the last at or before lo
};

// Column and row offset of quadrant q (0 lower-left, 1 upper-left,
// 2 upper-right, 3 lower-right) within its parent.
int QuadrantColumn(int quadrant) { return quadrant >= 2 ? 1 : 0; }
int QuadrantRow(int quadrant) { return (quadrant == 1 || quadrant == 2) ? 1 : 0; }

}  // namespace

CKXTreeIter::NormBox CKXTreeIter::Normalise(const CFltExtents& box) const {
    NormBox n;
    NormaliseAxis(box.xmin, box.xmax, m_tree.xmin, m_tree.xmax, n.u, n.w);
    NormaliseAxis(box.ymin, box.ymax, m_tree.ymin, m_tree.ymax, n.v, n.h);
    return n;
}

CKXTreeIter::Cell CKXTreeIter::Child(const Cell& parent, int quadrant) {
    Cell c;
    c.level = parent.level + 1;
    c.index = parent.index | (quadrant << (2 * parent.level));
    c.size = parent.size / 2.0;
    c.x = parent.x + ((quadrant == 2 || quadrant == 3) ? c.size : 0.0);
    c.y = parent.y + ((quadrant == 1 || quadrant == 2) ? c.size : 0.0);
    return c;
}

bool CKXTreeIter::Contains(const Cell& cell, const NormBox& box) {
    return box.u >= cell.x && box.v >= cell.y && box.u + box.w <= cell.x + cell.size &&
           box.v + box.h <= cell.y + cell.size;
}

bool CKXTreeIter::Overlaps(const Cell& cell, const NormBox& box) {
    return !(box.u + box.w < cell.x || box.v + box.h < cell.y || cell.x + cell.size < box.u ||
             cell.y + cell.size < box.v);
}

CKXTreeIter::Cell CKXTreeIter::FindContaining(const CFltExtents& box) const {
    if (box.IsEmpty() || !std::isfinite(box.xmin) || !std::isfinite(box.ymin) || !std::isfinite(box.xmax) ||
        !std::isfinite(box.ymax))
        return Cell{};
    return FindContaining(Normalise(box));
}

CKXTreeIter::Cell CKXTreeIter::FindContaining(const NormBox& box) const {
    // Millions of entities go through here when a document is finished, so
    // the descent compares whole cell numbers instead of cell squares.
    Cell cell;
    const double uEnd = box.u + box.w;
    const double vEnd = box.v + box.h;
    // No child of the root holds a box reaching outside the unit square (or
    // one that is not a number).
    if (!(box.u >= 0.0 && box.v >= 0.0 && uEnd <= 1.0 && vEnd <= 1.0)) return cell;
    const AxisCells columns(box.u, uEnd);
    const AxisCells rows(box.v, vEnd);
    int column = 0;
    int row = 0;
    while (cell.level < kMaxLevel) {
        const int shift = kMaxLevel - cell.level - 1;
        // Which halves of the cell hold the span along each axis; the first
        // quadrant that holds the box wins, as in a plain descent: on a
        // shared border the order decides.
        const bool left = columns.Holds(2 * column, shift);
        const bool right = columns.Holds(2 * column + 1, shift);
        const bool lower = rows.Holds(2 * row, shift);
        const bool upper = rows.Holds(2 * row + 1, shift);
        int quadrant = 0;
        if (left && lower)
            quadrant = 0;
        else if (left && upper)
            quadrant = 1;
        else if (right && upper)
            quadrant = 2;
        else if (right && lower)
            quadrant = 3;
        else
            break;
        column = 2 * column + QuadrantColumn(quadrant);
        row = 2 * row + QuadrantRow(quadrant);
        cell = Child(cell, quadrant);
    }
    return cell;
}

void CKXTreeIter::FindOverlapping(const CFltExtents& window, std::vector<Cell>& cells) const {
    cells.clear();
    const Cell root;
    cells.push_back(root);
    if (window.IsEmpty()) return;
    Descend(root, Normalise(window), cells);
}

void CKXTreeIter::Descend(const Cell& cell, const NormBox& box, std::vector<Cell>& cells) const {
    for (int q = 0; q < 4; ++q) {
        const Cell child = Child(cell, q);
        if (!Overlaps(child, box)) continue;
        cells.push_back(child);
        if (child.level < kMaxLevel) Descend(child, box, cells);
    }
}

#include "CKXTreeIter.h"

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
    Cell cell;
    while (cell.level < kMaxLevel) {
        bool descended = false;
        for (int q = 0; q < 4; ++q) {
            const Cell child = Child(cell, q);
            if (Contains(child, box)) {
                cell = child;
                descended = true;
                break;
            }
        }
        if (!descended) break;
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

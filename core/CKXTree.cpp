#include "CKXTree.h"

#include "CKXTreeIter.h"

namespace {
const std::vector<std::int32_t> kNoEntities;
}  // namespace

int CKXTree::LevelBase(int level) {
    // 1 + 4 + ... + 4^(level-1) cells lie on the levels above.
    return ((1 << (2 * level)) - 1) / 3;
}

CKXTree::CKXTree() : m_cells(static_cast<std::size_t>(LevelBase(kLevels))) {
    for (int l = 0; l < kLevels; ++l) m_levels[l] = {l, (1 << (2 * l)) - 1};
}

void CKXTree::Setup(const CFltExtents& extents) {
    for (auto& cell : m_cells) cell.clear();
    m_extents = extents;
    for (int l = 0; l < kLevels; ++l) m_levels[l] = {l, (1 << (2 * l)) - 1};
}

std::pair<int, int> CKXTree::Insert(int index, const CFltExtents& box) {
    const CKXTreeIter::Cell cell = CKXTreeIter(m_extents).FindContaining(box);
    if (!InsertAt(cell.level, cell.index, index)) {
        InsertAt(0, 0, index);
        return {0, 0};
    }
    return {cell.level, cell.index};
}

bool CKXTree::InsertAt(int level, int cell, int index) {
    if (level < 0 || level >= kLevels || cell < 0 || cell > m_levels[level].maxCell) return false;
    m_cells[static_cast<std::size_t>(LevelBase(level) + cell)].push_back(index);
    return true;
}

void CKXTree::Append(const CKXTree& later) {
    for (std::size_t c = 0; c < m_cells.size(); ++c)
        m_cells[c].insert(m_cells[c].end(), later.m_cells[c].begin(), later.m_cells[c].end());
}

const std::vector<std::int32_t>& CKXTree::Cell(int level, int cell) const {
    if (level < 0 || level >= kLevels || cell < 0 || cell > m_levels[level].maxCell) return kNoEntities;
    return m_cells[static_cast<std::size_t>(LevelBase(level) + cell)];
}

std::size_t CKXTree::Size() const {
    std::size_t n = 0;
    for (const auto& cell : m_cells) n += cell.size();
    return n;
}

void CKXTree::WalkPostOrder(
    const std::function<void(int, int, const std::vector<std::int32_t>&)>& visit) const {
    WalkFrom(0, 0, visit);
}

void CKXTree::WalkFrom(int level, int cell,
                       const std::function<void(int, int, const std::vector<std::int32_t>&)>& visit) const {
    if (level + 1 < kLevels) {
        for (int q = 0; q < 4; ++q) WalkFrom(level + 1, cell | (q << (2 * level)), visit);
    }
    visit(level, cell, Cell(level, cell));
}

#include "CKXPdbTileMap.h"

#include <string>

#include "CKXPdbFile.h"

namespace {

constexpr std::size_t kEntries = 1280;
constexpr std::uint16_t kPoolSwitch = 0xC000;
constexpr std::uint16_t kWordKindMask = 0xE000;
constexpr std::uint16_t kEndOfRecord = 0xE000;

}  // namespace

CKXPdbTileMap::Square CKXPdbTileMap::SquareOf(int level, int cell) {
    // The quadrant taken at level i sits in bits 2(i-1) and 2(i-1)+1:
    // 0 lower left, 1 upper left, 2 upper right, 3 lower right.
    Square s;
    for (int i = 1; i <= level; ++i) {
        const int q = (cell >> (2 * (i - 1))) & 3;
        s.size /= 2.0;
        if (q == 2 || q == 3) s.x += s.size;
        if (q == 1 || q == 2) s.y += s.size;
    }
    return s;
}

const std::vector<std::uint32_t>& CKXPdbTileMap::Cell(int level, int cell) const {
    static const std::vector<std::uint32_t> kNone;
    const std::size_t slot = static_cast<std::size_t>(level * kSlotsPerLevel + cell);
    return slot < m_cells.size() ? m_cells[slot] : kNone;
}

void CKXPdbTileMap::Read(const CKXPdbFile& file, std::size_t mapRecord, std::size_t tileRecords,
                         const std::vector<std::uint32_t>& poolFirstEntity) {
    CKXPdbReader map = file.Record(mapRecord, "TileMap");
    if (map.Remaining() != kEntries * 8) map.Fail("length " + std::to_string(map.Remaining()) + ", expected 10240");
    // The tile records divide one block of words that follows the map.
    std::vector<std::size_t> start(tileRecords + 1, 0);
    for (std::size_t t = 0; t < tileRecords; ++t) start[t + 1] = start[t] + file.RecordLength(mapRecord + 1 + t);
    const std::size_t base = tileRecords > 0 ? file.RecordOffset(mapRecord + 1) : 0;
    const std::size_t pools = poolFirstEntity.empty() ? 0 : poolFirstEntity.size() - 1;

    m_cells.assign(kEntries, {});
    for (std::size_t slot = 0; slot < kEntries; ++slot) {
        const std::uint16_t record = map.U16("tile record");
        const std::uint16_t offset = map.U16("tile offset");
        const std::int32_t words = map.I32("tile words");
        const int level = static_cast<int>(slot) / kSlotsPerLevel;
        const int cell = static_cast<int>(slot) % kSlotsPerLevel;
        if (words == 0 || cell >= (1 << (2 * level))) continue;
        const std::string where = "tile map entry " + std::to_string(slot);
        if (words < 0) throw KXPdbViolation(where + ": negative word count");
        if (record >= tileRecords || std::size_t{offset} >= start[record + 1] - start[record] ||
            start[record] + offset + 2 * std::size_t(words) > start[tileRecords]) {
            throw KXPdbViolation(where + ": list of " + std::to_string(words) + " words at record " +
                                 std::to_string(record) + " offset " + std::to_string(offset) +
                                 " lies outside the tile pools");
        }
        const std::size_t begin = base + start[record] + offset;
        CKXPdbReader list(file.Data(), begin, begin + 2 * std::size_t(words), where);
        std::vector<std::uint32_t>& entities = m_cells[slot];
        std::size_t pool = pools;
        while (!list.AtEnd()) {
            const std::uint16_t word = list.U16("tile word");
            if (word == kEndOfRecord) continue;
            if ((word & kWordKindMask) == kPoolSwitch) {
                pool = word & ~kWordKindMask;
                if (pool >= pools) {
                    list.Fail("switch to pool " + std::to_string(pool) + " of " + std::to_string(pools));
                }
                continue;
            }
            if (pool >= pools) list.Fail("entity index before any pool switch");
            const std::uint32_t first = poolFirstEntity[pool];
            if (word >= poolFirstEntity[pool + 1] - first) {
                list.Fail("entity " + std::to_string(word) + " of pool " + std::to_string(pool) +
                          " does not exist (the pool holds " + std::to_string(poolFirstEntity[pool + 1] - first) + ")");
            }
            entities.push_back(first + word);
        }
    }
}

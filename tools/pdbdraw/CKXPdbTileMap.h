// The quadtree tile map of a drawing file: for each of the 341 cells of
// levels 0 to 4, the entities that lie in the cell's square, read from the
// cell lists in the tile pool records (pool switch words, entity indexes
// within a pool, end-of-record words).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CKXPdbFile;

class CKXPdbTileMap {
public:
    static constexpr int kLevels = 5;
    static constexpr int kSlotsPerLevel = 256;

    // poolFirstEntity[p] is the number of the first entity of pool p, with
    // one extra element holding the entity count. Throws KXPdbViolation for
    // a list outside the tile pools, a switch to a missing pool or an index
    // past its pool.
    void Read(const CKXPdbFile& file, std::size_t mapRecord, std::size_t tileRecords,
              const std::vector<std::uint32_t>& poolFirstEntity);

    // Entity numbers listed by a cell.
    const std::vector<std::uint32_t>& Cell(int level, int cell) const;
    // Calls visit(level, cell) for every cell whose square, in a drawing box
    // of width x height integer units, meets the box [x0, x1] x [y0, y1].
    template <class Visit>
    void ForEachCellMeeting(double width, double height, double x0, double y0, double x1, double y1,
                            Visit&& visit) const;

    // The square of a cell as fractions of the drawing box.
    struct Square {
        double x = 0.0;
        double y = 0.0;
        double size = 1.0;
    };
    static Square SquareOf(int level, int cell);

private:
    std::vector<std::vector<std::uint32_t>> m_cells;  // by tile map slot
};

template <class Visit>
void CKXPdbTileMap::ForEachCellMeeting(double width, double height, double x0, double y0, double x1, double y1,
                                       Visit&& visit) const {
    // One unit of slack for the truncation of coordinates.
    constexpr double kSlack = 1.0;
    for (int level = 0; level < kLevels; ++level) {
        for (int cell = 0; cell < (1 << (2 * level)); ++cell) {
            const Square s = SquareOf(level, cell);
            const double left = s.x * width - kSlack, right = (s.x + s.size) * width + kSlack;
            const double bottom = s.y * height - kSlack, top = (s.y + s.size) * height + kSlack;
            if (right < x0 || left > x1 || top < y0 || bottom > y1) continue;
            visit(level, cell);
        }
    }
}

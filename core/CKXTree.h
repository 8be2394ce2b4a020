// The quadtree over the document extents: five levels of square cells, each
// listing the indexes of the top-level entities that fit in it and in none of
// its children. Also holds the tile map and tile pools that the drawing file
// writer builds from it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "geom/CFltExtents.h"

// Tile pool record descriptor.
struct CPoolInfo {
    std::int32_t record = 0;
    std::int32_t offset = 0;  // bytes from the start of the tile pool data
    std::int32_t length = 0;  // bytes
    std::int32_t words = 0;   // 16-bit words
};

// Tile map entry of one cell: where its entity list lies in the tile pools.
struct KXTileEntry {
    std::uint16_t record = 0;
    std::uint16_t offset = 0;
    std::int32_t words = 0;
};

class CKXTree {
public:
    static constexpr int kLevels = 5;
    static constexpr int kCellSlots = 256;  // tile map slots per level
    static constexpr int kTileMapEntries = kLevels * kCellSlots;

    struct LevelInfo {
        int level = 0;
        int maxCell = 0;  // largest valid cell index: 4^level - 1
    };

    CKXTree();

    // Clears every cell and sets the tree on the given extents.
    void Setup(const CFltExtents& extents);
    // Enters entity index i in the deepest cell whose square contains its
    // extents; a box that fits no cell below the root (or is empty or not
    // finite) goes to the root. Returns the (level, cell) it went to.
    std::pair<int, int> Insert(int index, const CFltExtents& box);
    // Enters an index into a given cell; false when the cell is out of range.
    bool InsertAt(int level, int cell, int index);

    const CFltExtents& GetExtents() const { return m_extents; }
    const LevelInfo& GetLevel(int level) const { return m_levels[level]; }
    // Entity indexes of a cell; an empty list for a cell out of range.
    const std::vector<std::int32_t>& Cell(int level, int cell) const;
    // Appends every cell's list of a tree set up on the same extents (the
    // later entities of a document indexed in parts).
    void Append(const CKXTree& later);
    // Total number of indexes entered.
    std::size_t Size() const;

    // Visits every cell in post-order: a cell's four children in quadrant
    // order 0..3, each with its own children first, then the cell; root last.
    void WalkPostOrder(const std::function<void(int level, int cell,
                                                const std::vector<std::int32_t>& list)>& visit) const;

    // Tile map and tile pools, filled by the drawing file writer.
    std::array<KXTileEntry, kTileMapEntries>& TileMap() { return m_tileMap; }
    const std::array<KXTileEntry, kTileMapEntries>& TileMap() const { return m_tileMap; }
    std::vector<CPoolInfo>& TilePools() { return m_tilePools; }
    const std::vector<CPoolInfo>& TilePools() const { return m_tilePools; }
    std::vector<std::uint16_t>& TileWords() { return m_tileWords; }
    const std::vector<std::uint16_t>& TileWords() const { return m_tileWords; }
    static int TileMapIndex(int level, int cell) { return level * kCellSlots + cell; }

    // First cell slot of a level in the flat cell array.
    static int LevelBase(int level);

private:
    void WalkFrom(int level, int cell,
                  const std::function<void(int, int, const std::vector<std::int32_t>&)>& visit) const;

    CFltExtents m_extents;
    std::array<LevelInfo, kLevels> m_levels;
    // All cells of all levels, level by level (1 + 4 + 16 + 64 + 256).
    std::vector<std::vector<std::int32_t>> m_cells;
    std::array<KXTileEntry, kTileMapEntries> m_tileMap{};
    std::vector<CPoolInfo> m_tilePools;
    std::vector<std::uint16_t> m_tileWords;
};

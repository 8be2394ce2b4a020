// Builds the tile map and the tile pools from the quadtree and the entity
// pool slots: for each cell, in post-order, the list of its entities as
// pool-switch and index words, cut into records of about 32 KB.
#pragma once

#include <vector>

#include "CKXDoc.h"
#include "CKXTree.h"

class CKXTileMapBuilder {
public:
    // A tile pool record is closed once its byte total exceeds this.
    static constexpr int kRecordLimit = 32768;
    static constexpr std::uint16_t kPoolSwitch = 0xC000;
    static constexpr std::uint16_t kEndOfRecord = 0xE000;

    // Fills the tree's tile map, words and record descriptors. False when a
    // cell names an entity without a slot or the records outgrow the
    // file's 16-bit record numbers.
    static bool Build(CKXTree& tree, const std::vector<CEntInfo>& slots);
};

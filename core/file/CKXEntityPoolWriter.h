// Packs the top-level entities into the entity pool records of the drawing
// file (about 32 KB each, the last closed by a zero word). Layout decides,
// from the entities' sizes alone, every entity's pool slot (which the tile
// map then refers to) and every pool's length, so that the whole file is
// laid out before it is written; MakePool then makes one pool's bytes by
// that layout, and only by it.
#pragma once

#include <cstdint>
#include <vector>

#include "CKXDoc.h"
#include "KXStatus.h"

class CKXEntityPoolWriter {
public:
    // A pool is closed by the entity that takes its byte total past this.
    static constexpr int kPoolLimit = 32768;
    // A tile list names a pool in the low 13 bits of its pool-switch word.
    static constexpr int kMaxPools = 0x2000;

    CKXEntityPoolWriter(const KXEntList& entities, std::vector<CEntInfo>& slots)
        : m_entities(entities), m_slots(slots) {}

    // Fills the slots (one per entity, then the terminator's) and the pool
    // lengths. Returns the number of pools, or why there are none: an
    // entity has no record (a polyline beyond the 16-bit point count) or
    // the records need more pools than a file can name.
    KXResult<int> Layout();
    // Byte length of each pool record, terminator included.
    const std::vector<std::uint32_t>& PoolLengths() const { return m_lengths; }

    // Makes pool record pool (of the last Layout) in buffer. Fails when an
    // entity writes another number of bytes than it measured.
    KXStatus MakePool(int pool, std::vector<std::uint8_t>& buffer) const;

private:
    // Ends the pool being laid out after entity end - 1, total bytes long.
    void ClosePool(std::int32_t total, std::size_t end, bool last);

    const KXEntList& m_entities;
    std::vector<CEntInfo>& m_slots;
    std::vector<std::uint32_t> m_lengths;
    // The first entity of each pool, then one past the last entity.
    std::vector<std::size_t> m_firsts;
};

// Packs the top-level entities into the entity pool records of the drawing
// file (about 32 KB each, the last closed by a zero word) and records every
// entity's pool slot, which the tile map then refers to.
#pragma once

#include <vector>

#include "CKXBodyWriter.h"
#include "CKXDoc.h"
#include "KXStatus.h"

class CKXEntityPoolWriter {
public:
    // A pool is closed by the entity that takes its byte total past this.
    static constexpr int kPoolLimit = 32768;
    // A tile list names a pool in the low 13 bits of its pool-switch word.
    static constexpr int kMaxPools = 0x2000;

    CKXEntityPoolWriter(CKXBodyWriter& body, std::vector<CEntInfo>& slots)
        : m_body(body), m_slots(slots) {}

    // Writes the pools and fills the slots (one per entity, then the
    // terminator's). Returns the number of pools, or why there are none:
    // writing failed, an entity has no record (a polyline beyond the 16-bit
    // point count) or the records need more pools than a file can name.
    KXResult<int> Write(const KXEntList& entities);

private:
    KXStatus ClosePool(bool last);

    CKXBodyWriter& m_body;
    std::vector<CEntInfo>& m_slots;
    std::vector<std::uint8_t> m_pool;
    int m_poolNumber = 0;
    int m_index = 0;
};

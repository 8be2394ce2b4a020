#include "CKXEntityPoolWriter.h"

#include <optional>

#include "CKXPagePrefetcher.h"

namespace {
constexpr std::size_t kTerminatorSize = 2;
}

int CKXEntityPoolWriter::Write(const KXEntList& entities) {
    m_slots.clear();
    m_slots.reserve(entities.size() + 1);
    // A slot for each of millions of entities: their pages are backed on
    // another thread while the pools are made.
    const std::size_t slotBytes = m_slots.capacity() * sizeof(CEntInfo);
    std::optional<CKXPagePrefetcher> prefetcher;
    if (CKXPagePrefetcher::WorthAThread(slotBytes)) prefetcher.emplace().Request(m_slots.data(), slotBytes);
    m_pool.clear();
    m_pool.reserve(2 * kPoolLimit);
    m_poolNumber = 0;
    m_index = 0;
    for (std::size_t i = 0; i < entities.size(); ++i) {
        const IKXEnt& ent = *entities[i];
        const int size = ent.Write(nullptr);
        if (size <= 0) return 0;
        const std::size_t offset = m_pool.size();
        m_pool.resize(offset + static_cast<std::size_t>(size));
        if (ent.Write(m_pool.data() + offset) != size) return 0;
        m_slots.push_back(CEntInfo{static_cast<std::int32_t>(offset), size, m_poolNumber, m_index++});
        const bool last = i + 1 == entities.size();
        if ((m_pool.size() > static_cast<std::size_t>(kPoolLimit) || last) && !ClosePool(last)) return 0;
    }
    if (entities.empty() && !ClosePool(true)) return 0;
    return m_poolNumber;
}

bool CKXEntityPoolWriter::ClosePool(bool last) {
    if (last) {
        const auto total = static_cast<std::int32_t>(m_pool.size());
        m_pool.push_back(0);
        m_pool.push_back(0);
        // The terminator's slot holds the end of the terminator, not its start.
        m_slots.push_back(CEntInfo{total + static_cast<std::int32_t>(kTerminatorSize),
                                   static_cast<std::int32_t>(kTerminatorSize), m_poolNumber, m_index});
    }
    if (m_poolNumber >= kMaxPools || !m_body.Record("EntPool", m_pool)) return false;
    ++m_poolNumber;
    m_index = 0;
    m_pool.clear();
    return true;
}

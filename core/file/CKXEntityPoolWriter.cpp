#include "CKXEntityPoolWriter.h"

#include <optional>
#include <string>

#include "CKXPagePrefetcher.h"

namespace {
constexpr std::size_t kTerminatorSize = 2;

KXStatus RecordsNotWritten() { return KXStatus::Failure("the drawing's entity records could not be written"); }
}

KXResult<int> CKXEntityPoolWriter::Write(const KXEntList& entities) {
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
        if (size <= 0)
            return KXStatus::Failure("entity " + std::to_string(i + 1) + " has no record in a drawing file");
        const std::size_t offset = m_pool.size();
        m_pool.resize(offset + static_cast<std::size_t>(size));
        if (ent.Write(m_pool.data() + offset) != size) return RecordsNotWritten();
        m_slots.push_back(CEntInfo{static_cast<std::int32_t>(offset), size, m_poolNumber, m_index++});
        const bool last = i + 1 == entities.size();
        if (m_pool.size() > static_cast<std::size_t>(kPoolLimit) || last) {
            if (KXStatus closed = ClosePool(last); !closed) return closed;
        }
    }
    if (entities.empty()) {
        if (KXStatus closed = ClosePool(true); !closed) return closed;
    }
    return m_poolNumber;
}

KXStatus CKXEntityPoolWriter::ClosePool(bool last) {
    if (last) {
        const auto total = static_cast<std::int32_t>(m_pool.size());
        m_pool.push_back(0);
        m_pool.push_back(0);
        // The terminator's slot holds the end of the terminator, not its start.
        m_slots.push_back(CEntInfo{total + static_cast<std::int32_t>(kTerminatorSize),
                                   static_cast<std::int32_t>(kTerminatorSize), m_poolNumber, m_index});
    }
    if (m_poolNumber >= kMaxPools)
        return KXStatus::Failure("the drawing needs more than " + std::to_string(kMaxPools) +
                                 " entity pools: it is too big for one drawing file");
    if (!m_body.Record("EntPool", m_pool)) return RecordsNotWritten();
    ++m_poolNumber;
    m_index = 0;
    m_pool.clear();
    return {};
}

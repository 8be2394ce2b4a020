#include "CKXEntityPoolWriter.h"

#include <optional>
#include <string>

#include "CKXPagePrefetcher.h"

namespace {
constexpr std::int32_t kTerminatorSize = 2;

KXStatus TooManyPools() {
    return KXStatus::Failure("the drawing needs more than " + std::to_string(CKXEntityPoolWriter::kMaxPools) +
                             " entity pools: it is too big for one drawing file");
}
}  // namespace

KXResult<int> CKXEntityPoolWriter::Layout() {
    m_slots.clear();
    m_slots.reserve(m_entities.size() + 1);
    m_lengths.clear();
    m_firsts.assign(1, 0);
    // A slot for each of millions of entities: their pages are backed on
    // another thread while the pools are laid out.
    const std::size_t slotBytes = m_slots.capacity() * sizeof(CEntInfo);
    std::optional<CKXPagePrefetcher> prefetcher;
    if (CKXPagePrefetcher::WorthAThread(slotBytes)) prefetcher.emplace().Request(m_slots.data(), slotBytes);
    std::int32_t total = 0;
    for (std::size_t i = 0; i < m_entities.size(); ++i) {
        const int size = m_entities[i]->Write(nullptr);
        if (size <= 0)
            return KXStatus::Failure("entity " + std::to_string(i + 1) + " has no record in a drawing file");
        const auto pool = static_cast<std::int32_t>(m_lengths.size());
        const auto index = static_cast<std::int32_t>(i - m_firsts.back());
        m_slots.push_back(CEntInfo{total, size, pool, index});
        total += size;
        const bool last = i + 1 == m_entities.size();
        if (total > kPoolLimit || last) {
            if (pool >= kMaxPools) return TooManyPools();
            ClosePool(total, i + 1, last);
            total = 0;
        }
    }
    if (m_entities.empty()) ClosePool(0, 0, true);
    return static_cast<int>(m_lengths.size());
}

void CKXEntityPoolWriter::ClosePool(std::int32_t total, std::size_t end, bool last) {
    if (last) {
        // The terminator's slot holds the end of the terminator, not its start.
        total += kTerminatorSize;
        m_slots.push_back(CEntInfo{total, kTerminatorSize, static_cast<std::int32_t>(m_lengths.size()),
                                   static_cast<std::int32_t>(end - m_firsts.back())});
    }
    m_lengths.push_back(static_cast<std::uint32_t>(total));
    m_firsts.push_back(end);
}

KXStatus CKXEntityPoolWriter::MakePool(int pool, std::vector<std::uint8_t>& buffer) const {
    const auto p = static_cast<std::size_t>(pool);
    if (pool < 0 || p >= m_lengths.size()) return KXStatus::Failure("no entity pool " + std::to_string(pool));
    // Zero-filled: the last pool's terminator is a zero word.
    buffer.clear();
    buffer.resize(m_lengths[p]);
    for (std::size_t i = m_firsts[p]; i < m_firsts[p + 1]; ++i) {
        const CEntInfo& slot = m_slots[i];
        if (m_entities[i]->Write(buffer.data() + slot.offset) != slot.size)
            return KXStatus::Failure("the drawing's entity records could not be written");
    }
    return {};
}

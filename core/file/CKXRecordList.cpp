#include "CKXRecordList.h"

#include <limits>

namespace {
constexpr auto kMaxOffset = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
}

bool CKXRecordList::Record(const char* label, const std::uint8_t* data, std::size_t n) {
    if (m_kept.size() != m_contents.size() || !Add(label, n)) return Check(false);
    m_kept.emplace_back(data, data + n);
    return true;
}

bool CKXRecordList::Reserve(const char* label, std::uint64_t length) { return Add(label, length); }

bool CKXRecordList::Add(const char* label, std::uint64_t length) {
    if (!m_good || length > kMaxOffset || m_position + length > kMaxOffset) return Check(false);
    CPDBOffset entry;
    entry.start = static_cast<std::int32_t>(m_position);
    entry.length = static_cast<std::int32_t>(length);
    entry.label = label;
    m_contents.push_back(std::move(entry));
    m_position += length;
    return true;
}

bool CKXRecordList::Replace(std::size_t index, std::vector<std::uint8_t> bytes) {
    if (!m_good || index >= m_kept.size()) return Check(false);
    const auto before = static_cast<std::int64_t>(m_kept[index].size());
    const auto after = static_cast<std::int64_t>(bytes.size());
    const std::int64_t moved = static_cast<std::int64_t>(m_position) + after - before;
    if (static_cast<std::uint64_t>(moved) > kMaxOffset) return Check(false);
    m_contents[index].length = static_cast<std::int32_t>(after);
    for (std::size_t i = index + 1; i < m_contents.size(); ++i)
        m_contents[i].start = static_cast<std::int32_t>(m_contents[i].start + after - before);
    m_position = static_cast<std::uint64_t>(moved);
    m_kept[index] = std::move(bytes);
    return true;
}

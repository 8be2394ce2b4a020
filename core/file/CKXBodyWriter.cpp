#include "CKXBodyWriter.h"

#include <limits>

bool CKXBodyWriter::Record(const char* label, const std::uint8_t* data, std::size_t n) {
    const std::uint64_t start = Position();
    if (!Raw(data, n)) return false;
    return AddEntry(start, n, label);
}

bool CKXBodyWriter::Raw(const std::uint8_t* data, std::size_t n) {
    if (!m_good) return false;
    return Check(m_out.Write(data, n));
}

bool CKXBodyWriter::AddEntry(std::uint64_t start, std::uint64_t length, const char* label) {
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
    if (!m_good || start > kMax || length > kMax || start + length > kMax) return Check(false);
    CPDBOffset entry;
    entry.start = static_cast<std::int32_t>(start);
    entry.length = static_cast<std::int32_t>(length);
    entry.label = label;
    m_contents.push_back(std::move(entry));
    return true;
}

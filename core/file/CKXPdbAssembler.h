// The front of a drawing file: the 78-byte container header, the record
// list with each record's absolute offset and unique id, and two zero
// bytes. The records follow it in table-of-contents order, without gaps.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CKXDoc.h"

class CKXPdbAssembler {
public:
    static constexpr std::size_t kHeaderSize = 78;
    static constexpr std::size_t kRecordEntrySize = 8;
    static constexpr std::size_t kListGap = 2;
    static constexpr std::size_t kNameField = 32;
    static constexpr std::size_t kMaxNameLength = kNameField - 1;
    // Seconds from 1904-01-01 (the container's epoch) to 1970-01-01.
    static constexpr std::uint64_t kEpochOffset = 2082844800u;

    // name goes into the header (cut to 31 characters); date is in the
    // container's epoch.
    CKXPdbAssembler(std::string name, std::uint32_t date) : m_name(std::move(name)), m_date(date) {}

    static std::uint32_t DateFromUnix(std::int64_t unixSeconds);
    // 80 + 8n + the sum of the record lengths.
    static std::uint64_t FileSize(const std::vector<CPDBOffset>& contents);
    std::vector<std::uint8_t> Header(std::size_t recordCount) const;

    // The header, the record list of the contents' records and the gap
    // after it. Empty when there are no records, a record of length 0, or
    // more records or bytes than the container can address.
    std::vector<std::uint8_t> Head(const std::vector<CPDBOffset>& contents) const;

private:
    std::string m_name;
    std::uint32_t m_date;
};

#include "CKXPdbAssembler.h"

#include <algorithm>
#include <limits>

#include "BigEndian.h"

namespace {
const char kType[4] = {'D', 'R', 'A', 'W'};
const char kCreator[4] = {'P', 'C', 'A', '!'};
constexpr std::size_t kMaxRecords = 0xFFFF;
constexpr std::uint8_t kUniqueIdHigh = 0x61;
constexpr std::uint8_t kUniqueIdMid = 0x62;
constexpr unsigned kUniqueIdLowBase = 0x63;
}  // namespace

std::uint32_t CKXPdbAssembler::DateFromUnix(std::int64_t unixSeconds) {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(unixSeconds) + kEpochOffset);
}

std::uint64_t CKXPdbAssembler::FileSize(const std::vector<CPDBOffset>& contents) {
    std::uint64_t size = kHeaderSize + kRecordEntrySize * contents.size() + kListGap;
    for (const CPDBOffset& entry : contents) size += static_cast<std::uint64_t>(std::max(0, entry.length));
    return size;
}

std::vector<std::uint8_t> CKXPdbAssembler::Header(std::size_t recordCount) const {
    std::vector<std::uint8_t> header(kHeaderSize, 0);
    const std::size_t nameLength = std::min(m_name.size(), kMaxNameLength);
    KXBEWriter w(header.data());
    w.Bytes(m_name.data(), nameLength).Zeros(kNameField - nameLength);
    w.U16(0).U16(0);           // attributes, version
    w.U32(m_date).U32(m_date);  // creation, modification
    w.U32(0).U32(0).U32(0).U32(0);  // backup, modification number, app info, sort info
    w.Bytes(kType, 4).Bytes(kCreator, 4);
    w.U32(0).U32(0);  // unique ID seed, next record list
    w.U16(static_cast<std::uint16_t>(recordCount));
    return header;
}

std::vector<std::uint8_t> CKXPdbAssembler::Head(const std::vector<CPDBOffset>& contents) const {
    const std::size_t n = contents.size();
    if (n == 0 || n > kMaxRecords) return {};
    if (FileSize(contents) > std::numeric_limits<std::uint32_t>::max()) return {};
    for (const CPDBOffset& entry : contents) {
        if (entry.length <= 0) return {};
    }

    std::vector<std::uint8_t> head = Header(n);
    head.resize(kHeaderSize + kRecordEntrySize * n + kListGap, 0);
    std::uint64_t offset = head.size();
    for (std::size_t i = 0; i < n; ++i) {
        std::uint8_t* entry = head.data() + kHeaderSize + kRecordEntrySize * i;
        kxbe::StoreU32(entry, static_cast<std::uint32_t>(offset));
        entry[4] = 0;
        entry[5] = kUniqueIdHigh;
        entry[6] = kUniqueIdMid;
        entry[7] = static_cast<std::uint8_t>((kUniqueIdLowBase + i) & 0xFF);
        offset += static_cast<std::uint64_t>(contents[i].length);
    }
    return head;
}

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
constexpr std::size_t kCopyBlock = std::size_t{1} << 20;

// One past the last record of the run that starts at record first: each
// record of a run begins where the one before it ends.
std::size_t EndOfRun(const std::vector<CPDBOffset>& contents, std::size_t first) {
    std::size_t end = first + 1;
    while (end < contents.size() &&
           static_cast<std::int64_t>(contents[end].start) ==
               static_cast<std::int64_t>(contents[end - 1].start) + contents[end - 1].length)
        ++end;
    return end;
}

// Copies bytes bytes of body from offset start to out through buffer.
bool CopyRange(std::FILE* body, std::uint64_t start, std::uint64_t bytes, IKXOutStream& out,
               std::vector<std::uint8_t>& buffer) {
    if (start > static_cast<std::uint64_t>(std::numeric_limits<long>::max()) ||
        std::fseek(body, static_cast<long>(start), SEEK_SET) != 0)
        return false;
    while (bytes > 0) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(bytes, buffer.size()));
        if (std::fread(buffer.data(), 1, n, body) != n || !out.Write(buffer.data(), n)) return false;
        bytes -= n;
    }
    return true;
}
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

bool CKXPdbAssembler::Assemble(IKXOutStream& out, std::FILE* body, const std::vector<CPDBOffset>& contents,
                               const std::vector<std::uint8_t>* firstRecord) const {
    const std::size_t n = contents.size();
    if (n == 0 || n > kMaxRecords || body == nullptr) return false;
    if (FileSize(contents) > std::numeric_limits<std::uint32_t>::max()) return false;
    std::int32_t largest = 0;
    for (const CPDBOffset& entry : contents) {
        if (entry.length <= 0 || entry.start < 0) return false;
        largest = std::max(largest, entry.length);
    }
    if (firstRecord != nullptr && firstRecord->size() != static_cast<std::size_t>(contents[0].length)) return false;

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
    if (!out.Write(head.data(), head.size())) return false;

    // Runs of records are copied in blocks of a megabyte at least (fewer,
    // larger reads and writes), or of the largest record's size.
    std::vector<std::uint8_t> buffer(std::max(kCopyBlock, static_cast<std::size_t>(largest)));
    for (std::size_t i = 0; i < n;) {
        if (i == 0 && firstRecord != nullptr) {
            if (!out.Write(firstRecord->data(), firstRecord->size())) return false;
            ++i;
            continue;
        }
        // Records written one after another lie back to back in the body:
        // they are copied together, in whole blocks, with one seek.
        const std::size_t end = EndOfRun(contents, i);
        const auto start = static_cast<std::uint64_t>(contents[i].start);
        const std::uint64_t bytes = static_cast<std::uint64_t>(contents[end - 1].start) +
                                    static_cast<std::uint64_t>(contents[end - 1].length) - start;
        if (!CopyRange(body, start, bytes, out, buffer)) return false;
        i = end;
    }
    return true;
}

#include "CKXPdbFile.h"

#include <cstring>

namespace {

constexpr std::size_t kHeaderSize = 78;
constexpr std::size_t kNameField = 32;
constexpr std::size_t kTypeOffset = 60;
constexpr std::size_t kRecordCountOffset = 76;
constexpr std::size_t kEntrySize = 8;
constexpr std::size_t kGapAfterList = 2;

}  // namespace

CKXPdbFile::CKXPdbFile(CKXPdbBytes bytes) : m_bytes(std::move(bytes)) {
    CKXPdbReader header(m_bytes.Data(), 0, m_bytes.Size(), "header");
    const std::uint8_t* name = header.Bytes(kNameField, "name");
    m_name.assign(reinterpret_cast<const char*>(name), strnlen(reinterpret_cast<const char*>(name), kNameField));
    header.Seek(kTypeOffset, "type");
    if (std::memcmp(header.Bytes(4, "type"), "DRAW", 4) != 0) header.Fail("not a drawing file (type is not \"DRAW\")");
    header.Seek(kRecordCountOffset, "record count");
    const std::size_t count = header.U16("record count");
    if (count == 0) header.Fail("the file has no records");

    const std::size_t listEnd = kHeaderSize + kEntrySize * count;
    CKXPdbReader list(m_bytes.Data(), kHeaderSize, m_bytes.Size(), "record list");
    std::vector<std::size_t> offsets(count);
    for (std::size_t i = 0; i < count; ++i) {
        offsets[i] = list.U32("record offset");
        list.Bytes(4, "record attributes and unique ID");
    }
    list.Bytes(kGapAfterList, "gap after the record list");
    // Each record runs up to the next one, the last to the end of the file.
    m_records.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t end = i + 1 < count ? offsets[i + 1] : m_bytes.Size();
        if (offsets[i] < listEnd + kGapAfterList || end < offsets[i] || end > m_bytes.Size()) {
            throw KXPdbViolation("record list entry " + std::to_string(i) + ": record at " +
                                 std::to_string(offsets[i]) + " to " + std::to_string(end) +
                                 " lies outside the file of " + std::to_string(m_bytes.Size()) +
                                 " bytes or before its predecessor's end");
        }
        m_records[i] = Range{offsets[i], end - offsets[i]};
    }
}

void CKXPdbFile::CheckRecord(std::size_t record) const {
    if (record >= m_records.size()) {
        throw KXPdbViolation("record " + std::to_string(record) + " is missing: the file has " +
                             std::to_string(m_records.size()) + " records");
    }
}

std::size_t CKXPdbFile::RecordOffset(std::size_t record) const {
    CheckRecord(record);
    return m_records[record].offset;
}

std::size_t CKXPdbFile::RecordLength(std::size_t record) const {
    CheckRecord(record);
    return m_records[record].length;
}

CKXPdbReader CKXPdbFile::Record(std::size_t record, const char* what) const {
    CheckRecord(record);
    const Range& r = m_records[record];
    return CKXPdbReader(m_bytes.Data(), r.offset, r.offset + r.length,
                        "record " + std::to_string(record) + " (" + what + ")");
}

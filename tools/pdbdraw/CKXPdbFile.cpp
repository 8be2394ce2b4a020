#include "CKXPdbFile.h"

#include <cstring>
#include <fstream>

namespace {

constexpr std::size_t kHeaderSize = 78;
constexpr std::size_t kNameField = 32;
constexpr std::size_t kTypeOffset = 60;
constexpr std::size_t kRecordCountOffset = 76;
constexpr std::size_t kEntrySize = 8;
constexpr std::size_t kGapAfterList = 2;

}  // namespace

std::vector<std::uint8_t> CKXPdbFile::ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) throw KXPdbViolation("cannot open " + path);
    const std::streamoff size = in.tellg();
    if (size < 0) throw KXPdbViolation("cannot read " + path);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) throw KXPdbViolation("cannot read " + path);
    return bytes;
}

CKXPdbFile::CKXPdbFile(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {
    CKXPdbReader header(m_bytes.data(), 0, m_bytes.size(), "header");
    const std::uint8_t* name = header.Bytes(kNameField, "name");
    m_name.assign(reinterpret_cast<const char*>(name), strnlen(reinterpret_cast<const char*>(name), kNameField));
    header.Seek(kTypeOffset, "type");
    if (std::memcmp(header.Bytes(4, "type"), "DRAW", 4) != 0) header.Fail("not a drawing file (type is not \"DRAW\")");
    header.Seek(kRecordCountOffset, "record count");
    const std::size_t count = header.U16("record count");
    if (count == 0) header.Fail("the file has no records");

    const std::size_t listEnd = kHeaderSize + kEntrySize * count;
    CKXPdbReader list(m_bytes.data(), kHeaderSize, m_bytes.size(), "record list");
    std::vector<std::size_t> offsets(count);
    for (std::size_t i = 0; i < count; ++i) {
        offsets[i] = list.U32("record offset");
        list.Bytes(4, "record attributes and unique ID");
    }
    list.Bytes(kGapAfterList, "gap after the record list");
    // Each record runs up to the next one, the last to the end of the file.
    m_records.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t end = i + 1 < count ? offsets[i + 1] : m_bytes.size();
        if (offsets[i] < listEnd + kGapAfterList || end < offsets[i] || end > m_bytes.size()) {
            throw KXPdbViolation("record list entry " + std::to_string(i) + ": record at " +
                                 std::to_string(offsets[i]) + " to " + std::to_string(end) +
                                 " lies outside the file of " + std::to_string(m_bytes.size()) +
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
    return CKXPdbReader(m_bytes.data(), r.offset, r.offset + r.length,
                        "record " + std::to_string(record) + " (" + what + ")");
}

// The container of a drawing file: its bytes, the 78-byte header and the
// record list. Every record's range is checked against the file once, so
// record readers never look outside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "CKXPdbBytes.h"
#include "CKXPdbReader.h"

class CKXPdbFile {
public:
    // Takes the bytes and reads the header and record list; throws
    // KXPdbViolation when they do not describe records inside the file.
    explicit CKXPdbFile(CKXPdbBytes bytes);

    std::size_t RecordCount() const { return m_records.size(); }
    std::size_t RecordOffset(std::size_t record) const;
    std::size_t RecordLength(std::size_t record) const;
    // A bounded reader over one record; context names it in messages.
    CKXPdbReader Record(std::size_t record, const char* what) const;
    const std::uint8_t* Data() const { return m_bytes.Data(); }
    const std::string& Name() const { return m_name; }

private:
    struct Range {
        std::size_t offset = 0;
        std::size_t length = 0;
    };
    void CheckRecord(std::size_t record) const;

    CKXPdbBytes m_bytes;
    std::vector<Range> m_records;
    std::string m_name;
};

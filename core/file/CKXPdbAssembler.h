// Assembles the final drawing file: the 78-byte container header, the
// record list with each record's absolute offset and unique id, two zero
// bytes, then every record copied from the body file in table-of-contents
// order.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "CKXDoc.h"
#include "IKXOutStream.h"

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

    // Writes the file. firstRecord, when given, replaces record 0 of the body
    // (a FileInfo grown by a long size field); its length must match the
    // table of contents. False on any read or write failure, a record of
    // length 0, or more records or bytes than the container can address.
    bool Assemble(IKXOutStream& out, std::FILE* body, const std::vector<CPDBOffset>& contents,
                  const std::vector<std::uint8_t>* firstRecord) const;

private:
    std::string m_name;
    std::uint32_t m_date;
};

// The records of a drawing file, laid out before any byte of the file is
// written: each record's start (counted from the first record) and length
// go into the table of contents as it is registered. Small records are
// kept here in memory; the large ones (entity pools, tile map and tile
// pools) are only registered and made while the file is written. The
// record offsets of the format are 32-bit, so records that outgrow them
// fail the layout rather than wrapping.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "CKXDoc.h"

class CKXRecordList {
public:
    explicit CKXRecordList(std::vector<CPDBOffset>& contents) : m_contents(contents) {}

    // Keeps one whole record and registers it. Records are kept only ahead
    // of the first reserved one: the kept ones are the front of the file.
    bool Record(const char* label, const std::vector<std::uint8_t>& bytes) {
        return Record(label, bytes.data(), bytes.size());
    }
    bool Record(const char* label, const std::uint8_t* data, std::size_t n);
    // Registers a record of length bytes that is made later.
    bool Reserve(const char* label, std::uint64_t length);
    // Replaces kept record index (its length may change: the records after
    // it move along).
    bool Replace(std::size_t index, std::vector<std::uint8_t> bytes);

    // The kept records, in order; record i of the contents is kept[i].
    const std::vector<std::vector<std::uint8_t>>& Kept() const { return m_kept; }
    // Bytes registered so far.
    std::uint64_t Position() const { return m_position; }
    bool Good() const { return m_good; }
    std::vector<CPDBOffset>& Contents() { return m_contents; }

private:
    bool Add(const char* label, std::uint64_t length);
    bool Check(bool ok) {
        if (!ok) m_good = false;
        return m_good;
    }

    std::vector<CPDBOffset>& m_contents;
    std::vector<std::vector<std::uint8_t>> m_kept;
    std::uint64_t m_position = 0;
    bool m_good = true;
};

// Writes the records of a drawing file one after another into the body
// stream and registers each one's start, length and label in the table of
// contents. The record offsets of the format are 32-bit, so a body that
// outgrows them fails the write rather than wrapping.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "CKXDoc.h"
#include "IKXOutStream.h"

class CKXBodyWriter {
public:
    CKXBodyWriter(IKXOutStream& out, std::vector<CPDBOffset>& contents)
        : m_out(out), m_contents(contents) {}

    // Writes one whole record and its table-of-contents entry.
    bool Record(const char* label, const std::vector<std::uint8_t>& bytes) {
        return Record(label, bytes.data(), bytes.size());
    }
    bool Record(const char* label, const std::uint8_t* data, std::size_t n);
    // Writes raw bytes that later AddEntry calls divide into records.
    bool Raw(const std::uint8_t* data, std::size_t n);
    // Registers a record of bytes already written.
    bool AddEntry(std::uint64_t start, std::uint64_t length, const char* label);

    bool Patch(std::uint64_t offset, const void* data, std::size_t n) {
        return Check(m_out.Patch(offset, data, n));
    }
    std::uint64_t Position() const { return m_out.Size(); }
    bool Good() const { return m_good && m_out.Good(); }
    std::vector<CPDBOffset>& Contents() { return m_contents; }

private:
    bool Check(bool ok) {
        if (!ok) m_good = false;
        return m_good;
    }

    IKXOutStream& m_out;
    std::vector<CPDBOffset>& m_contents;
    bool m_good = true;
};

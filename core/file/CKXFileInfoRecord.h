// The "FileInfo" record: a text block of the file properties led by the
// output file's name and an 8-character size field that is filled in once
// the final file size is known.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CKXDoc.h"

class CKXFileInfoRecord {
public:
    static constexpr std::size_t kSizeFieldWidth = 8;
    // The text length is a 16-bit count.
    static constexpr std::size_t kMaxText = 0xFFFF;

    CKXFileInfoRecord(const std::string& fileName, const std::vector<tagKXProperty>& properties);

    // The record with a blank size field.
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
    // Offset of the size field within the record.
    std::size_t SizeFieldOffset() const { return m_sizeField; }
    // Properties left out because the text would outgrow its 16-bit length.
    std::size_t DroppedProperties() const { return m_dropped; }

    // The size text as it goes over the blank field: fits the field for up
    // to 8 digits; a longer number takes the field's place whole.
    static std::string SizeText(std::uint64_t fileSize);
    // How many bytes the record grows when the size needs more than 8 digits.
    static std::size_t Growth(std::uint64_t fileSize);
    // The final file size, given the size the file has with the blank field:
    // a longer number lengthens the file, which may add a digit again.
    static std::uint64_t SettleFileSize(std::uint64_t sizeWithBlankField);
    // The record with the size written in. Up to 8 digits overwrite the start
    // of the field (the remaining blanks stay); more replace the field.
    std::vector<std::uint8_t> WithSize(std::uint64_t fileSize) const;

private:
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_sizeField = 0;
    std::size_t m_dropped = 0;
};

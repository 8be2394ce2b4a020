#include "CKXFileInfoRecord.h"

#include <cstring>

namespace {
const char* const kTitle = "\nFILE PROPERTIES:";
const char* const kFileNameLabel = "\nFile Name: ";
const char* const kFileSizeLabel = "\nFile Size: ";
const char* const kPropertiesName = "FILE PROPERTIES";
const char* const kOriginalPrefix = "ORIGINAL ";
constexpr std::size_t kLengthField = 2;
constexpr std::size_t kTerminator = 1;
// Room kept for a size of up to 20 digits replacing the 8-character field.
constexpr std::size_t kMaxGrowth = 12;
}  // namespace

CKXFileInfoRecord::CKXFileInfoRecord(const std::string& fileName,
                                     const std::vector<tagKXProperty>& properties) {
    std::string text = std::string(kTitle) + kFileNameLabel + fileName + kFileSizeLabel;
    constexpr std::size_t kTextLimit = CKXFileInfoRecord::kMaxText - kMaxGrowth;
    if (text.size() + kSizeFieldWidth > kTextLimit) text.resize(kTextLimit - kSizeFieldWidth);
    const std::size_t field = text.size();
    text.append(kSizeFieldWidth, ' ');
    for (std::size_t i = 0; i < properties.size(); ++i) {
        const tagKXProperty& p = properties[i];
        std::string entry;
        if (p.value.empty()) entry += '\n';
        entry += '\n';
        // The document's own "FILE PROPERTIES" heading must not be read as
        // the start of another property block.
        if (p.value.empty() && p.name == kPropertiesName) entry += kOriginalPrefix;
        entry += p.name + ": " + p.value;
        if (text.size() + entry.size() > kTextLimit) {
            m_dropped = properties.size() - i;
            break;
        }
        text += entry;
    }
    m_bytes.reserve(kLengthField + text.size() + kTerminator);
    m_bytes.push_back(static_cast<std::uint8_t>(text.size() >> 8));
    m_bytes.push_back(static_cast<std::uint8_t>(text.size()));
    m_bytes.insert(m_bytes.end(), text.begin(), text.end());
    m_bytes.push_back(0);
    m_sizeField = kLengthField + field;
}

std::string CKXFileInfoRecord::SizeText(std::uint64_t fileSize) { return std::to_string(fileSize); }

std::size_t CKXFileInfoRecord::Growth(std::uint64_t fileSize) {
    const std::size_t digits = SizeText(fileSize).size();
    return digits > kSizeFieldWidth ? digits - kSizeFieldWidth : 0;
}

std::uint64_t CKXFileInfoRecord::SettleFileSize(std::uint64_t sizeWithBlankField) {
    std::uint64_t size = sizeWithBlankField;
    // Converges within two steps: each step adds at most one digit.
    for (int step = 0; step < 4; ++step) {
        const std::uint64_t next = sizeWithBlankField + Growth(size);
        if (next == size) break;
        size = next;
    }
    return size;
}

std::vector<std::uint8_t> CKXFileInfoRecord::WithSize(std::uint64_t fileSize) const {
    const std::string digits = SizeText(fileSize);
    std::vector<std::uint8_t> bytes = m_bytes;
    if (digits.size() <= kSizeFieldWidth) {
        std::memcpy(bytes.data() + m_sizeField, digits.data(), digits.size());
        return bytes;
    }
    bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(m_sizeField),
                bytes.begin() + static_cast<std::ptrdiff_t>(m_sizeField + kSizeFieldWidth));
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(m_sizeField), digits.begin(), digits.end());
    const std::size_t length = bytes.size() - kLengthField - kTerminator;
    if (length > kMaxText) return {};
    bytes[0] = static_cast<std::uint8_t>(length >> 8);
    bytes[1] = static_cast<std::uint8_t>(length);
    return bytes;
}

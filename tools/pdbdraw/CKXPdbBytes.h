// The bytes of a drawing file: a read-only view of the file itself, so
// that a file of hundreds of megabytes is neither copied nor cleared
// first, or a buffer handed in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CKXPdbBytes {
public:
    CKXPdbBytes() = default;
    explicit CKXPdbBytes(std::vector<std::uint8_t> bytes);
    CKXPdbBytes(CKXPdbBytes&& other) noexcept;
    CKXPdbBytes& operator=(CKXPdbBytes&& other) noexcept;
    CKXPdbBytes(const CKXPdbBytes&) = delete;
    CKXPdbBytes& operator=(const CKXPdbBytes&) = delete;
    ~CKXPdbBytes();

    // The file at path, mapped (an empty file has no bytes); throws
    // KXPdbViolation when it cannot be opened or mapped. The bytes follow
    // the file: it must not be rewritten or cut short while they are read.
    static CKXPdbBytes Map(const std::string& path);

    // The same bytes in a buffer of their own.
    CKXPdbBytes Copy() const { return CKXPdbBytes(std::vector<std::uint8_t>(m_data, m_data + m_size)); }

    const std::uint8_t* Data() const { return m_data; }
    std::size_t Size() const { return m_size; }

private:
    void Release() noexcept;

    std::vector<std::uint8_t> m_owned;
    const void* m_view = nullptr;  // a mapped file's view
    const std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
};

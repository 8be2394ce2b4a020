#include "CKXPdbBytes.h"

#include <kxplatform/fileapi.h>
#include <kxplatform/handleapi.h>
#include <kxplatform/memoryapi.h>

#include <utility>

#include "CKXPdbReader.h"

CKXPdbBytes::CKXPdbBytes(std::vector<std::uint8_t> bytes)
    : m_owned(std::move(bytes)), m_data(m_owned.data()), m_size(m_owned.size()) {}

CKXPdbBytes::CKXPdbBytes(CKXPdbBytes&& other) noexcept {
    *this = std::move(other);
}

CKXPdbBytes& CKXPdbBytes::operator=(CKXPdbBytes&& other) noexcept {
    if (this != &other) {
        Release();
        m_owned = std::move(other.m_owned);
        m_view = std::exchange(other.m_view, nullptr);
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

CKXPdbBytes::~CKXPdbBytes() {
    Release();
}

void CKXPdbBytes::Release() noexcept {
    if (m_view != nullptr) UnmapViewOfFile(m_view);
    m_owned.clear();
    m_view = nullptr;
    m_data = nullptr;
    m_size = 0;
}

CKXPdbBytes CKXPdbBytes::Map(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw KXPdbViolation("cannot open " + path);
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    const std::uint64_t size = (std::uint64_t{high} << 32) | low;
    if (size == 0) {
        CloseHandle(file);
        return CKXPdbBytes();
    }
    // The mapping is made for the size learnt, so a file cut short since
    // is refused rather than mapped shorter.
    const bool sized = !(low == INVALID_FILE_SIZE && high == INVALID_FILE_SIZE);
    HANDLE mapping = sized ? CreateFileMappingA(file, nullptr, PAGE_READONLY, high, low, nullptr) : nullptr;
    CloseHandle(file);
    const void* view = nullptr;
    if (mapping != nullptr) {
        view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
        CloseHandle(mapping);
    }
    if (view == nullptr) throw KXPdbViolation("cannot read " + path);
    CKXPdbBytes bytes;
    bytes.m_view = view;
    bytes.m_data = static_cast<const std::uint8_t*>(view);
    bytes.m_size = static_cast<std::size_t>(size);
    return bytes;
}

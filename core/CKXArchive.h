// Big-endian record reader over a byte range. Every read is bounds-checked:
// a read past the end fails, leaves the output untouched and puts the
// archive into a failed state that later reads keep.
#pragma once

#include <cstddef>
#include <cstdint>

#include "BigEndian.h"

class CKXArchive {
public:
    CKXArchive(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(data ? size : 0) {}

    bool ReadU8(std::uint8_t& v) { return Take(1, [&](const std::uint8_t* p) { v = *p; }); }
    bool ReadU16(std::uint16_t& v) { return Take(2, [&](const std::uint8_t* p) { v = kxbe::LoadU16(p); }); }
    bool ReadI32(std::int32_t& v) { return Take(4, [&](const std::uint8_t* p) { v = kxbe::LoadI32(p); }); }
    bool ReadU32(std::uint32_t& v) { return Take(4, [&](const std::uint8_t* p) { v = kxbe::LoadU32(p); }); }
    bool ReadF32(float& v) { return Take(4, [&](const std::uint8_t* p) { v = kxbe::LoadF32(p); }); }
    bool ReadF64(double& v) { return Take(8, [&](const std::uint8_t* p) { v = kxbe::LoadF64(p); }); }

    std::size_t Position() const { return m_pos; }
    std::size_t Remaining() const { return m_size - m_pos; }
    bool Failed() const { return m_failed; }

private:
    template <class F>
    bool Take(std::size_t n, F&& store) {
        if (m_failed || n > m_size - m_pos) {
            m_failed = true;
            return false;
        }
        store(m_data + m_pos);
        m_pos += n;
        return true;
    }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
    bool m_failed = false;
};

#include "CKXPdbReader.h"

#include <cstring>
#include <utility>

CKXPdbReader::CKXPdbReader(const std::uint8_t* data, std::size_t begin, std::size_t end,
                           std::string context)
    : m_data(data), m_begin(begin), m_end(end), m_pos(begin), m_context(std::move(context)) {}

void CKXPdbReader::Fail(const std::string& message) const {
    throw KXPdbViolation(m_context + ": " + message);
}

const std::uint8_t* CKXPdbReader::Take(std::size_t n, const char* field) {
    if (n > m_end - m_pos) {
        Fail(std::string(field) + " runs past the end (offset " + std::to_string(Offset()) +
             ", " + std::to_string(n) + " bytes wanted, " + std::to_string(Remaining()) + " left)");
    }
    const std::uint8_t* p = m_data + m_pos;
    m_pos += n;
    return p;
}

std::uint8_t CKXPdbReader::U8(const char* field) { return *Take(1, field); }

std::uint16_t CKXPdbReader::U16(const char* field) {
    const std::uint8_t* p = Take(2, field);
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

std::uint32_t CKXPdbReader::U32(const char* field) {
    const std::uint8_t* p = Take(4, field);
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}

float CKXPdbReader::F32(const char* field) {
    const std::uint32_t bits = U32(field);
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

double CKXPdbReader::F64(const char* field) {
    const std::uint64_t hi = U32(field);
    const std::uint64_t bits = (hi << 32) | U32(field);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

const std::uint8_t* CKXPdbReader::Bytes(std::size_t n, const char* field) { return Take(n, field); }

void CKXPdbReader::Seek(std::size_t offsetInRange, const char* field) {
    if (offsetInRange > m_end - m_begin) {
        Fail(std::string(field) + " points outside the range (" + std::to_string(offsetInRange) + ")");
    }
    m_pos = m_begin + offsetInRange;
}

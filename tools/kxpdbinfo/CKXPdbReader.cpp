#include "CKXPdbReader.h"

#include <cstring>
#include <utility>

CKXPdbReader::CKXPdbReader(const std::uint8_t* data, std::size_t begin, std::size_t end,
                           std::string context)
    : m_data(data), m_begin(begin), m_end(end), m_pos(begin), m_context(std::move(context)) {}

void CKXPdbReader::Fail(const std::string& message) const {
    throw KXPdbViolation(Context() + ": " + message);
}

void CKXPdbReader::FailPastEnd(std::size_t n, const char* field) const {
    Fail(std::string(field) + " runs past the end (offset " + std::to_string(Offset()) + ", " + std::to_string(n) +
         " bytes wanted, " + std::to_string(Remaining()) + " left)");
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

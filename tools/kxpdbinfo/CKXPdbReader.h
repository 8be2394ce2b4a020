// Bounds-checked big-endian cursor over a byte range of a drawing file.
// Every read past the range raises KXPdbViolation naming what was being
// read, so a truncated or lying file is a clear message, never a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

class KXPdbViolation : public std::runtime_error {
public:
    explicit KXPdbViolation(const std::string& what) : std::runtime_error(what) {}
};

class CKXPdbReader {
public:
    // A view of [data + begin, data + end); context names the range in messages.
    CKXPdbReader(const std::uint8_t* data, std::size_t begin, std::size_t end, std::string context);
    // The same with a fixed name (a literal that outlives the reader): no
    // string is made, for readers made once per entity.
    CKXPdbReader(const std::uint8_t* data, std::size_t begin, std::size_t end, const char* context)
        : m_data(data), m_begin(begin), m_end(end), m_pos(begin), m_name(context) {}

    // The fixed-size reads are inline: a drawing's entity pools are read a
    // few bytes at a time, millions of times.
    std::uint8_t U8(const char* field) { return *Take(1, field); }
    std::uint16_t U16(const char* field) {
        const std::uint8_t* p = Take(2, field);
        return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
    }
    std::uint32_t U32(const char* field) {
        const std::uint8_t* p = Take(4, field);
        return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
               std::uint32_t{p[3]};
    }
    std::int32_t I32(const char* field) { return static_cast<std::int32_t>(U32(field)); }
    float F32(const char* field);
    double F64(const char* field);
    // Advances over n bytes and returns a pointer to the first.
    const std::uint8_t* Bytes(std::size_t n, const char* field);

    std::size_t Position() const { return m_pos; }  // absolute
    std::size_t Offset() const { return m_pos - m_begin; }  // within the range
    std::size_t Remaining() const { return m_end - m_pos; }
    bool AtEnd() const { return m_pos == m_end; }
    void Seek(std::size_t offsetInRange, const char* field);
    std::string Context() const { return m_name != nullptr ? std::string(m_name) : m_context; }

    [[noreturn]] void Fail(const std::string& message) const;

private:
    const std::uint8_t* Take(std::size_t n, const char* field) {
        if (n > m_end - m_pos) FailPastEnd(n, field);
        const std::uint8_t* p = m_data + m_pos;
        m_pos += n;
        return p;
    }
    [[noreturn]] void FailPastEnd(std::size_t n, const char* field) const;

    const std::uint8_t* m_data;
    std::size_t m_begin;
    std::size_t m_end;
    std::size_t m_pos;
    const char* m_name = nullptr;  // the context when it is a fixed name
    std::string m_context;
};

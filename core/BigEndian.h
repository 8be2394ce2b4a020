// Big-endian encoding shared by entity records and the drawing file writer.
// KXBEWriter writes into a caller buffer, or only counts bytes when the
// buffer is null, so the same code both measures and writes a record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kxbe {

inline void StoreU16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 8);
    p[1] = static_cast<std::uint8_t>(v);
}

inline void StoreU32(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 24);
    p[1] = static_cast<std::uint8_t>(v >> 16);
    p[2] = static_cast<std::uint8_t>(v >> 8);
    p[3] = static_cast<std::uint8_t>(v);
}

inline void StoreU64(std::uint8_t* p, std::uint64_t v) {
    StoreU32(p, static_cast<std::uint32_t>(v >> 32));
    StoreU32(p + 4, static_cast<std::uint32_t>(v));
}

inline void StoreI32(std::uint8_t* p, std::int32_t v) { StoreU32(p, static_cast<std::uint32_t>(v)); }

inline void StoreF32(std::uint8_t* p, float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    StoreU32(p, bits);
}

inline void StoreF64(std::uint8_t* p, double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    StoreU64(p, bits);
}

inline std::uint16_t LoadU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

inline std::uint32_t LoadU32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}

inline std::uint64_t LoadU64(const std::uint8_t* p) {
    return (std::uint64_t{LoadU32(p)} << 32) | LoadU32(p + 4);
}

inline std::int32_t LoadI32(const std::uint8_t* p) { return static_cast<std::int32_t>(LoadU32(p)); }

inline float LoadF32(const std::uint8_t* p) {
    const std::uint32_t bits = LoadU32(p);
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

inline double LoadF64(const std::uint8_t* p) {
    const std::uint64_t bits = LoadU64(p);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

}  // namespace kxbe

// Sequential big-endian writer. With a null buffer it only measures.
class KXBEWriter {
public:
    explicit KXBEWriter(std::uint8_t* buffer) : m_base(buffer) {}

    KXBEWriter& U8(std::uint8_t v) {
        if (m_base) m_base[m_size] = v;
        m_size += 1;
        return *this;
    }
    KXBEWriter& U16(std::uint16_t v) {
        if (m_base) kxbe::StoreU16(m_base + m_size, v);
        m_size += 2;
        return *this;
    }
    KXBEWriter& I32(std::int32_t v) {
        if (m_base) kxbe::StoreI32(m_base + m_size, v);
        m_size += 4;
        return *this;
    }
    KXBEWriter& U32(std::uint32_t v) {
        if (m_base) kxbe::StoreU32(m_base + m_size, v);
        m_size += 4;
        return *this;
    }
    KXBEWriter& F32(float v) {
        if (m_base) kxbe::StoreF32(m_base + m_size, v);
        m_size += 4;
        return *this;
    }
    KXBEWriter& F64(double v) {
        if (m_base) kxbe::StoreF64(m_base + m_size, v);
        m_size += 8;
        return *this;
    }
    KXBEWriter& Bytes(const void* data, std::size_t n) {
        if (m_base && n) std::memcpy(m_base + m_size, data, n);
        m_size += n;
        return *this;
    }
    KXBEWriter& Zeros(std::size_t n) {
        if (m_base && n) std::memset(m_base + m_size, 0, n);
        m_size += n;
        return *this;
    }

    std::size_t Size() const { return m_size; }
    int SizeInt() const { return static_cast<int>(m_size); }
    bool Measuring() const { return m_base == nullptr; }

private:
    std::uint8_t* m_base;
    std::size_t m_size = 0;
};

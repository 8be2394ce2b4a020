// The attribute record carried by attribute-set entities: layer, colour,
// line style and line weight. 0 = unchanged; >= 1 an index (or a weight);
// KX_BYLAYER / KX_BYBLOCK / KX_CONTINUOUS; weights <= -101 are literal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <tuple>

struct CKXAttribute {
    std::int32_t layer = 0;
    std::int32_t color = 0;
    std::int32_t lineStyle = 0;
    std::int32_t weight = 0;

    // Field i in record order: 0 layer, 1 colour, 2 line style, 3 weight.
    std::int32_t& operator[](int i) {
        switch (i) {
        case 0: return layer;
        case 1: return color;
        case 2: return lineStyle;
        default: return weight;
        }
    }
    std::int32_t operator[](int i) const { return const_cast<CKXAttribute&>(*this)[i]; }
    bool IsZero() const { return layer == 0 && color == 0 && lineStyle == 0 && weight == 0; }

    friend bool operator<(const CKXAttribute& a, const CKXAttribute& b) {
        return std::tie(a.layer, a.color, a.lineStyle, a.weight) <
               std::tie(b.layer, b.color, b.lineStyle, b.weight);
    }
    friend bool operator==(const CKXAttribute& a, const CKXAttribute& b) {
        return a.layer == b.layer && a.color == b.color && a.lineStyle == b.lineStyle &&
               a.weight == b.weight;
    }
    friend bool operator!=(const CKXAttribute& a, const CKXAttribute& b) { return !(a == b); }
};

// Hash of a record, for the table that finds a record's id once per
// attribute change of a drawing (hundreds of thousands of them).
struct CKXAttributeHash {
    std::size_t operator()(const CKXAttribute& a) const noexcept {
        std::uint64_t h = 0x9E3779B97F4A7C15ull;
        for (const std::int32_t field : {a.layer, a.color, a.lineStyle, a.weight})
            h = (h ^ static_cast<std::uint32_t>(field)) * 0x100000001B3ull;
        return static_cast<std::size_t>(h ^ (h >> 29));
    }
};

// Attribute state saved on the attribute stack: the record and the line-style scale.
struct CKXAttributeState {
    CKXAttribute attrib;
    double scale = 1.0;
};

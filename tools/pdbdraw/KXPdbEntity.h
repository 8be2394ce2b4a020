// One entity record of an entity pool, decoded: its kind and fields as the
// writer stored them (integer drawing coordinates, angle-table steps,
// attribute ids). Point and character lists stay in the file's bytes and
// are read where they are drawn; their extent was checked on decoding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

class CKXPdbReader;
struct KXPdbTables;

enum KXPdbKind : std::uint16_t {
    // A clip set or clip stack: its kind word alone (the regions it names
    // are not in the file). Inside a pool it is a record of its own; only
    // the word after the last pool's last record is the terminator.
    kPdbClipControl = 0,
    kPdbLine = 1,
    kPdbPolyline = 2,
    kPdbBlock = 3,
    kPdbBlockRef = 4,
    kPdbAttribSet = 6,
    kPdbStyledLine = 7,
    kPdbCircle = 8,
    kPdbEllipse = 9,
    kPdbTextLine = 10,
    kPdbMarkerOpen = 11,
    kPdbMarkerClose = 12,
};

// Kept within 80 bytes: it is made for each of millions of records, and a
// larger one is cleared by a slow string instruction.
struct KXPdbEntity {
    static constexpr std::uint16_t kFlagBits = 0xE0;
    // Step index of an arc drawn as a chord (-2 in 16 bits).
    static constexpr std::uint16_t kChordStep = 0xFFFE;
    static constexpr std::size_t kPointSize = 8;
    static constexpr std::size_t kCharSize = 12;
    static constexpr std::size_t kPlacementSize = 8;

    std::uint16_t kind = 0;
    std::uint16_t flags = 0;
    // circle, ellipse: first and last angle-table steps; styled line:
    // element index and direction index; attribute set: id; block
    // reference: block number.
    std::uint16_t a = 0;
    std::uint16_t b = 0;
    std::uint16_t direction = 0;  // styled line: direction flags
    std::int32_t phase = 0;       // styled line: offset into the element
    // line, styled line: x0 y0 x1 y1; circle: centre, start, end, radius;
    // ellipse: centre, start, end, then L*c, L*s, minor*c, minor*s (signed);
    // text line: height, mid-line start, end; block reference: x, y.
    std::int32_t q[10] = {};
    // polyline: count points of two i32; text line: count characters of
    // glyph index, x, y (i32 each); block reference: 4 placement values
    // (cos, sin, x scale, y scale; f64 each). Big-endian in the file.
    const std::uint8_t* list = nullptr;
    std::uint32_t count = 0;
};
static_assert(sizeof(KXPdbEntity) <= 80, "an entity is cleared with a few wide stores");

// Decodes the record at the reader's position and moves past it. Throws
// KXPdbViolation for an unknown kind, a record that runs past the pool, an
// attribute id or glyph index outside its table.
KXPdbEntity KXPdbDecodeEntity(CKXPdbReader& r, const KXPdbTables& tables);

// Big-endian i32 at p (inside a list checked by KXPdbDecodeEntity).
inline std::int32_t KXPdbI32At(const std::uint8_t* p) {
    return static_cast<std::int32_t>((std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) |
                                     (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]});
}

// Big-endian f64 at p (inside a list checked by KXPdbDecodeEntity).
inline double KXPdbF64At(const std::uint8_t* p) {
    const std::uint64_t bits = (std::uint64_t{static_cast<std::uint32_t>(KXPdbI32At(p))} << 32) |
                               static_cast<std::uint32_t>(KXPdbI32At(p + 4));
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

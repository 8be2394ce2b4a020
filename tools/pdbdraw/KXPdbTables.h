// The drawing file's tables as the reader needs them: attribute records,
// colours, line styles, layers, glyph instances, the line-direction cache
// and the cosine/sine table, decoded from their array groups and records.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CKXPdbFile;

struct KXPdbIntPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct KXPdbAttribute {
    std::int32_t layer = 0;
    std::int32_t colour = 0;
    std::int32_t lineStyle = 0;
    std::int32_t weight = 0;  // file units: -100 - weight x resolution, or pixels
};

struct KXPdbLineStyle {
    std::int32_t total = 0;              // pattern length, drawing units x resolution
    std::vector<std::int32_t> elements;  // dashes > 0, gaps < 0, dots 0
};

struct KXPdbLayer {
    std::uint16_t state = 0;  // 1: drawn
    std::int32_t colour = 0;
    std::int32_t lineStyle = 0;
    std::int32_t weight = 0;
    std::string name;
};

// A glyph instance: strokes relative to the character position, in
// drawing units x resolution, offset by the glyph store origin.
struct KXPdbGlyph {
    std::vector<std::vector<KXPdbIntPoint>> strokes;
};

// One step of the 200-step angle table, cos and sin x 8192.
struct KXPdbCosSin {
    std::int32_t cos = 0;
    std::int32_t sin = 0;
};

struct KXPdbTables {
    static constexpr std::size_t kDirectionEntries = 513;
    static constexpr std::size_t kSteps = 200;
    static constexpr double kCosSinScale = 8192.0;

    std::vector<KXPdbAttribute> attributes;  // id 1 is element 0
    std::vector<std::uint32_t> colours;      // COLORREF, index 1 is element 0
    std::vector<KXPdbLineStyle> lineStyles;
    std::vector<KXPdbLayer> layers;
    std::vector<KXPdbGlyph> glyphs;
    std::array<KXPdbIntPoint, kDirectionEntries> directions{};  // x 32768
    std::array<KXPdbCosSin, kSteps> cosSin{};

    // Reads the five array groups, LSCache and CosSin starting at record
    // first; returns the record after them. Throws KXPdbViolation.
    std::size_t Read(const CKXPdbFile& file, std::size_t first);

    const KXPdbAttribute* Attribute(std::int32_t id) const;
    const KXPdbLayer* Layer(std::int32_t index) const;
    const KXPdbLineStyle* LineStyle(std::int32_t index) const;
    bool HasColour(std::int32_t index) const { return index >= 1 && static_cast<std::size_t>(index) <= colours.size(); }
};

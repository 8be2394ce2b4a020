// What the validator learned about a drawing file: enough for the tool's
// report and for tests that check the writer's layout decisions.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct KXPdbRecordInfo {
    std::uint32_t offset = 0;  // absolute, from the record list
    std::uint32_t length = 0;  // up to the next record or the end of the file
    std::uint8_t attributes = 0;
    std::array<std::uint8_t, 3> uniqueId{};
    std::string label;  // record kind as recognised by the validator
};

// One table of the drawing header's table run (an array group).
struct KXPdbGroupInfo {
    std::string name;
    bool empty = true;
    int elementCount = 0;     // N
    int perRecord = 0;        // c
    int lastCount = 0;        // elements in the last data record
    int dataRecords = 0;      // k
    int records = 0;          // records of the group, TOC included
    std::vector<std::uint32_t> elementSizes;  // variable-size groups only
};

// One entity record of the entity pools.
struct KXPdbEntityInfo {
    int pool = 0;
    int index = 0;           // within its pool
    std::uint16_t kind = 0;  // record kind word without the flag bits
    std::uint16_t flags = 0; // flag bits of the kind word (0xE0)
    std::uint32_t fileOffset = 0;  // absolute offset of the kind word
    std::uint32_t size = 0;
};

struct KXPdbSummary {
    std::string name;
    std::uint64_t fileSize = 0;
    std::uint32_t creationDate = 0;
    std::vector<KXPdbRecordInfo> records;

    std::string fileInfoText;
    std::uint64_t statedFileSize = 0;  // the number in the "File Size" field

    std::int32_t width = 0;
    std::int32_t height = 0;
    int pools = 0;           // P
    int tilePools = 0;       // T
    int tableRecords = 0;    // records of the array groups, LSCache and CosSin
    std::array<float, 3> detail{};
    std::int32_t glyphOriginX = 0;
    std::int32_t glyphOriginY = 0;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    double resolution = 0;

    std::array<KXPdbGroupInfo, 5> groups;  // attributes, colours, line styles, layers, glyphs
    std::vector<std::int32_t> attributeRecords;  // four ints per record
    std::vector<std::int32_t> colours;
    std::vector<std::string> layerNames;
    // Per layer, in the order of layerNames: the state word (bit 0: drawn)
    // and the colour-table index (1-based; 0 or out of range: none).
    std::vector<std::uint16_t> layerStates;
    std::vector<std::int32_t> layerColours;
    // The layer's colour as "#RRGGBB", or "" when its index names none.
    std::string LayerColour(std::size_t layer) const;

    std::vector<KXPdbEntityInfo> entities;
    std::vector<std::uint32_t> poolLengths;
    std::map<int, int> entityCountsByKind;

    int usedCells = 0;
    std::uint64_t tileWords = 0;
};

// Human-readable name of a record kind ("line", "polyline"...).
const char* KXPdbKindName(int kind);
// The report kxpdbinfo prints.
std::string KXPdbFormatSummary(const KXPdbSummary& summary);

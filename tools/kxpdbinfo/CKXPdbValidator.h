// Checks a drawing file against every structural rule of the format: the
// container header and record list, FileInfo and its size field, the
// DrawingInfo counts, the array groups, the line-direction cache and
// cosine/sine table, the entity pools with their terminator, and the tile
// map whose lists must place every entity in exactly one cell. Stops at the
// first violation with a message naming the record and field.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "KXPdbSummary.h"

class CKXPdbReader;

struct KXPdbResult {
    bool ok = false;
    std::string error;  // the first violation, empty when ok
    KXPdbSummary summary;
};

class CKXPdbValidator {
public:
    // Entity pools are closed once their byte total exceeds this.
    static constexpr std::uint32_t kPoolLimit = 32768;
    // Tile pool records are closed once their byte total exceeds this.
    static constexpr std::uint32_t kTileRecordLimit = 32768;

    explicit CKXPdbValidator(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    static KXPdbResult ValidateFile(const std::string& path);
    KXPdbResult Validate();

private:
    void CheckHeader();
    void CheckRecordList();
    void CheckFileInfo();
    void CheckDrawingInfo();
    std::size_t CheckArrayGroup(std::size_t first, int group);
    void CheckFixedElements(int group, std::size_t record, int count, std::uint32_t elementSize);
    void CheckVariableElement(int group, const std::uint8_t* data, std::size_t begin,
                              std::size_t end, const std::string& context);
    void CheckDirectionCache(std::size_t record);
    void CheckCosSin(std::size_t record);
    std::size_t CheckEntityPools(std::size_t first);
    std::uint32_t EntityRecord(CKXPdbReader& reader, int pool, int index);
    void CheckEntityGeometry(const KXPdbEntityInfo& entity);
    void CheckTiles(std::size_t tileMapRecord);
    void CheckPlacement(std::size_t entity, int level, int cell, const std::string& where) const;
    void CheckRecordCount(std::size_t end);

    CKXPdbReader RecordReader(std::size_t record) const;
    void Label(std::size_t record, const char* label);
    [[noreturn]] void Fail(const std::string& message) const;

    std::vector<std::uint8_t> m_bytes;
    KXPdbSummary m_summary;
    std::vector<std::size_t> m_poolRecords;  // record numbers of the entity pools
    // Integer bounding boxes of lines and polylines, by entity, for checking
    // that each lies in the square of the cell that lists it.
    struct Box {
        bool known = false;
        std::int32_t xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    };
    std::vector<Box> m_boxes;
};

// A drawing file read for drawing: DrawingInfo, the tables, the entity
// pools (every record decoded and checked once, its place remembered) and
// the tile map. Loading either succeeds completely or reports the first
// fault of the file as a message; nothing is read outside the file.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "CKXPdbFile.h"
#include "CKXPdbTileMap.h"
#include "KXPdbEntity.h"
#include "KXPdbTables.h"

struct KXPdbDrawingInfo {
    std::int32_t width = 0;  // drawing box, integer units
    std::int32_t height = 0;
    int pools = 0;
    int tilePools = 0;
    int tableRecords = 0;
    std::int32_t glyphOriginX = 0;
    std::int32_t glyphOriginY = 0;
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;  // document units
    double resolution = 0.0;                                // integer units per document unit
};

class CKXPdbDrawing {
public:
    // How the file's bytes are held: a copy, for a drawing kept open while
    // the file may be rewritten, or the file itself, read in place, for a
    // drawing used at once (the file must then stay as it is meanwhile).
    enum class Hold { Copy, InPlace };

    // Null with a message in error when the file cannot be read or is not a
    // sound drawing file.
    static std::unique_ptr<CKXPdbDrawing> Open(const std::string& path, std::string& error, Hold hold = Hold::Copy);
    static std::unique_ptr<CKXPdbDrawing> FromBytes(std::vector<std::uint8_t> bytes, std::string& error);

    const KXPdbDrawingInfo& Info() const { return m_info; }
    const KXPdbTables& Tables() const { return m_tables; }
    const CKXPdbTileMap& Tiles() const { return m_tiles; }
    std::size_t EntityCount() const { return m_entities.size() + m_later.size(); }
    // Decodes entity n (n < EntityCount()).
    KXPdbEntity Entity(std::size_t n) const;

private:
    explicit CKXPdbDrawing(CKXPdbBytes bytes) : m_file(std::move(bytes)) {}
    static std::unique_ptr<CKXPdbDrawing> Make(CKXPdbBytes bytes, std::string& error);
    void Load();
    std::size_t ReadDrawingInfo();
    std::size_t ReadPools(std::size_t first, std::vector<std::uint32_t>& poolFirstEntity);

    struct Place {
        std::uint32_t offset = 0;   // of the kind word, in the file
        std::uint32_t poolEnd = 0;  // end of its pool's entities, in the file
    };
    // The entities of a run of pools, their number in each pool, and the
    // first fault met (the run stops there).
    struct PoolRun {
        std::vector<Place> places;
        std::vector<std::uint32_t> counts;
        std::exception_ptr fault;
    };
    void ReadPoolRun(std::size_t firstRecord, std::size_t from, std::size_t to, PoolRun& run) const noexcept;

    CKXPdbFile m_file;
    KXPdbDrawingInfo m_info;
    KXPdbTables m_tables;
    CKXPdbTileMap m_tiles;
    // The entities in file order: those of the first run of pools, then
    // those of the second (kept apart rather than copied together).
    std::vector<Place> m_entities;
    std::vector<Place> m_later;
};

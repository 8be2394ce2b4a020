// Writes a finished document as a drawing file in one pass. Every record's
// length is known before the first byte is written: the small records are
// made in memory, the entity pools are laid out from the entities' sizes
// and the tile pools from the pool slots. So the header and record list
// come first and each record is written once, front to back, into a file
// beside the destination that is renamed over it when complete. A failed
// write leaves no partial output file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CKXDoc.h"
#include "IKXOutStream.h"
#include "KXStatus.h"

class CKXEntityPoolWriter;
class CKXRecordList;

class CKXDrawingFileWriter {
public:
    static constexpr int kDrawingInfoSize = 82;
    // Offset of the pool, tile pool and table record counts in DrawingInfo.
    static constexpr int kDrawingInfoCountsOffset = 16;
    // The output is written under this prefix beside its destination.
    static constexpr const char* kOutputPrefix = "kxw";

    // The output stream comes from opener (a file by default; tests inject
    // failures).
    explicit CKXDrawingFileWriter(CKXDoc& doc);
    CKXDrawingFileWriter(CKXDoc& doc, KXStreamOpener opener);

    // Writes the file, or says why it was not written (nothing is left at
    // the path then, and an existing file there is kept).
    KXStatus Write(const std::string& path);

    // The output's name without directory and extension.
    static std::string BaseName(const std::string& path);

private:
    // Lays the whole file out: the records kept in memory, the table of
    // contents, the pool slots, the tile map and the front of the file.
    KXStatus LayOut(CKXRecordList& records, CKXEntityPoolWriter& pools);
    // DrawingInfo with its three record counts still 0.
    std::vector<std::uint8_t> DrawingInfo() const;
    // Writes the laid-out file at path (through a file beside it).
    KXStatus WriteFile(const std::string& path, const CKXRecordList& records, const CKXEntityPoolWriter& pools);
    // Writes the file's bytes in order. True when the stream took them all,
    // false when it failed; a failure when a record could not be made.
    KXResult<bool> WriteRecords(IKXOutStream& out, const CKXRecordList& records,
                                const CKXEntityPoolWriter& pools) const;

    CKXDoc& m_doc;
    KXStreamOpener m_opener;
    std::string m_name;
    // Of the file being written: its front (header, record list, gap), its
    // TileMap record and its size.
    std::vector<std::uint8_t> m_head;
    std::vector<std::uint8_t> m_tileMap;
    std::uint64_t m_fileSize = 0;
};

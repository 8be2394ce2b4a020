// Writes the document's tables as the five array groups of the drawing
// file (attribute records, colours, line styles, layers, glyphs) and the
// two fixed tables that follow them (line-direction cache, cosine/sine).
#pragma once

#include <cstdint>
#include <vector>

#include "CKXRecordList.h"
#include "CKXDoc.h"

class CKXTableWriter {
public:
    static constexpr int kAttributeRecordSize = 16;
    static constexpr int kColourSize = 4;

    // resolution is the drawing resolution s; currentResolution is the
    // process-wide one that converts literal line weights.
    CKXTableWriter(CKXDoc& doc, CKXRecordList& records, double resolution, double currentResolution)
        : m_doc(doc), m_records(records), m_s(resolution), m_r(currentResolution) {}

    // Writes the seven tables that follow DrawingInfo: the five array
    // groups, the line-direction cache and the cosine/sine table. Returns
    // the number of records written (DrawingInfo counts all of them), or -1
    // when writing failed.
    int WriteTables();

    // An attribute record's weight as the file stores it: literal and packed
    // weights scaled by the current resolution.
    static std::int32_t FileWeight(std::int32_t weight, double currentResolution);
    // The 2000-byte cosine/sine table of the 200 angle steps.
    static std::vector<std::uint8_t> CosSinRecord();

private:
    // The direction cache and the cosine/sine table: one record each.
    static constexpr int kFixedTableRecords = 2;

    int WriteArrayGroups();
    bool WriteDirectionCache();
    bool WriteCosSin();
    int WriteAttributeRecords();
    int WriteColours();
    int WriteLineStyles();
    int WriteLayers();
    int WriteGlyphs();

    CKXDoc& m_doc;
    CKXRecordList& m_records;
    double m_s;
    double m_r;
};

#include "KXPdbSummary.h"

#include <cstdio>
#include <sstream>

const char* KXPdbKindName(int kind) {
    switch (kind) {
    case 0: return "no-record entity";
    case 1: return "line";
    case 2: return "polyline";
    case 3: return "block";
    case 4: return "block reference";
    case 6: return "attribute set";
    case 7: return "styled line";
    case 8: return "circle";
    case 9: return "ellipse";
    case 10: return "text line";
    case 11: return "group start marker";
    case 12: return "group end marker";
    default: return "unknown";
    }
}

std::string KXPdbFormatSummary(const KXPdbSummary& s) {
    std::ostringstream out;
    char line[256];
    out << "Name:        " << s.name << "\n";
    out << "File size:   " << s.fileSize << " bytes\n";
    out << "Records:     " << s.records.size() << " (" << s.tableRecords << " table records, "
        << s.pools << " entity pools, " << s.tilePools << " tile pool records)\n";
    std::snprintf(line, sizeof line, "Extents:     (%.6g, %.6g) - (%.6g, %.6g)\n", s.minX, s.minY,
                  s.maxX, s.maxY);
    out << line;
    std::snprintf(line, sizeof line, "Resolution:  %.10g (drawing box %d x %d)\n", s.resolution,
                  s.width, s.height);
    out << line;
    out << "Tables:\n";
    for (const KXPdbGroupInfo& g : s.groups) {
        out << "  " << g.name << ": " << g.elementCount;
        if (!g.empty) out << " in " << g.dataRecords << " record(s)";
        out << "\n";
    }
    out << "Layers:      " << s.layerNames.size() << "\n";
    for (const std::string& layer : s.layerNames) out << "  " << layer << "\n";
    if (!s.fileInfoText.empty()) out << "Properties:  " << s.fileInfoText << "\n";
    out << "Entities:    " << s.entities.size() << "\n";
    for (const auto& [kind, count] : s.entityCountsByKind) {
        out << "  " << KXPdbKindName(kind) << ": " << count << "\n";
    }
    out << "Tile map:    " << s.usedCells << " cells in use, " << s.tileWords << " words\n";
    out << "Record list:\n";
    for (std::size_t i = 0; i < s.records.size(); ++i) {
        std::snprintf(line, sizeof line, "  %5zu  %10u  %8u  %s\n", i, s.records[i].offset,
                      s.records[i].length, s.records[i].label.c_str());
        out << line;
    }
    return out.str();
}

#include "KXPdbSummary.h"

#include <cstdio>
#include <sstream>

std::string KXPdbSummary::LayerColour(std::size_t layer) const {
    if (layer >= layerColours.size()) return {};
    const std::int32_t index = layerColours[layer];
    if (index < 1 || static_cast<std::size_t>(index) > colours.size()) return {};
    // Colours are stored 0x00BBGGRR.
    const auto c = static_cast<std::uint32_t>(colours[static_cast<std::size_t>(index) - 1]);
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", c & 0xFFu, (c >> 8) & 0xFFu, (c >> 16) & 0xFFu);
    return text;
}

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
    for (std::size_t i = 0; i < s.layerNames.size(); ++i) {
        const std::string colour = s.LayerColour(i);
        const bool drawn = i < s.layerStates.size() && (s.layerStates[i] & 1) != 0;
        out << "  " << s.layerNames[i] << "  " << (colour.empty() ? "-" : colour) << "  "
            << (drawn ? "on" : "off") << "\n";
    }
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

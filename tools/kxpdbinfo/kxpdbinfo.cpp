// kxpdbinfo: validates a drawing file and prints what it holds.
//
//   kxpdbinfo [-q | --json] file.pdb
//
// Exit status 0 when the file obeys every structural rule of the format,
// 1 with a message naming the first violation, 2 for a usage error.
#include <cstdio>
#include <cstring>
#include <string>

#include "CKXPdbValidator.h"

namespace {

constexpr int kValid = 0;
constexpr int kInvalid = 1;
constexpr int kUsage = 2;

const char* const kUsageText =
    "Usage: kxpdbinfo [-q | --json] FILE.pdb\n"
    "Checks a Korvex drawing file and describes it: its properties, tables,\n"
    "layers and entity counts by kind.\n"
    "  -q          only say whether the file is valid\n"
    "  --json      the description as one JSON object, for scripts\n"
    "  -h, --help  this text\n"
    "  --version   the program's version\n"
    "Exit status: 0 valid, 1 invalid or unreadable, 2 bad command line.\n";

void AppendJsonString(std::string& out, const std::string& text) {
    out += '"';
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
}

std::string FormatJson(const std::string& path, const KXPdbSummary& s) {
    std::string out = "{\"file\":";
    AppendJsonString(out, path);
    out += ",\"name\":";
    AppendJsonString(out, s.name);
    out += ",\"fileSize\":" + std::to_string(s.fileSize);
    out += ",\"creationDate\":" + std::to_string(s.creationDate);
    out += ",\"properties\":";
    AppendJsonString(out, s.fileInfoText);
    // The same properties one by one ("Name: value" lines): the source file,
    // the DXF version, the drawing's dates.
    out += ",\"propertyList\":[";
    bool firstProperty = true;
    std::size_t start = 0;
    while (start <= s.fileInfoText.size()) {
        std::size_t end = s.fileInfoText.find('\n', start);
        if (end == std::string::npos) end = s.fileInfoText.size();
        const std::string line = s.fileInfoText.substr(start, end - start);
        const std::size_t colon = line.find(": ");
        if (colon != std::string::npos && colon > 0) {
            if (!firstProperty) out += ',';
            firstProperty = false;
            out += "{\"name\":";
            AppendJsonString(out, line.substr(0, colon));
            out += ",\"value\":";
            AppendJsonString(out, line.substr(colon + 2));
            out += '}';
        }
        start = end + 1;
    }
    out += ']';
    char extents[160];
    std::snprintf(extents, sizeof extents, ",\"extents\":[%.17g,%.17g,%.17g,%.17g]", s.minX, s.minY,
                  s.maxX, s.maxY);
    out += extents;
    out += ",\"layers\":[";
    for (std::size_t i = 0; i < s.layerNames.size(); ++i) {
        if (i != 0) out += ',';
        out += "{\"name\":";
        AppendJsonString(out, s.layerNames[i]);
        out += ",\"colour\":";
        const std::string colour = s.LayerColour(i);
        if (colour.empty())
            out += "null";
        else
            AppendJsonString(out, colour);
        const bool drawn = i < s.layerStates.size() && (s.layerStates[i] & 1) != 0;
        out += std::string(",\"on\":") + (drawn ? "true" : "false") + '}';
    }
    out += "],\"entities\":" + std::to_string(s.entities.size()) + ",\"entitiesByKind\":{";
    bool first = true;
    for (const auto& [kind, count] : s.entityCountsByKind) {
        if (!first) out += ',';
        first = false;
        AppendJsonString(out, KXPdbKindName(kind));
        out += ':' + std::to_string(count);
    }
    out += "}}\n";
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    bool quiet = false;
    bool json = false;
    const char* path = nullptr;
    bool usable = true;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            std::fputs(kUsageText, stdout);
            return kValid;
        }
        if (argument == "--version") {
            std::puts("kxpdbinfo (Korvex) 1.0");
            return kValid;
        }
        if (argument == "-q") {
            quiet = true;
        } else if (argument == "--json") {
            json = true;
        } else if (argument.size() > 1 && argument[0] == '-') {
            std::fprintf(stderr, "kxpdbinfo: unknown option %s\n", argv[i]);
            usable = false;
        } else if (path == nullptr) {
            path = argv[i];
        } else {
            std::fprintf(stderr, "kxpdbinfo: one file at a time (%s)\n", argv[i]);
            usable = false;
        }
    }
    if (path == nullptr || !usable || (quiet && json)) {
        std::fputs(kUsageText, stderr);
        return kUsage;
    }
    const KXPdbResult result = CKXPdbValidator::ValidateFile(path);
    if (!result.ok) {
        std::fprintf(stderr, "kxpdbinfo: %s: invalid drawing file: %s\n", path, result.error.c_str());
        return kInvalid;
    }
    if (json) {
        std::fputs(FormatJson(path, result.summary).c_str(), stdout);
        return kValid;
    }
    if (!quiet) std::fputs(KXPdbFormatSummary(result.summary).c_str(), stdout);
    std::printf("%s: valid drawing file\n", path);
    return kValid;
}

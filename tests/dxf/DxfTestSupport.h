// Shared helpers of the translator tests: a recording engine that stands in
// for kxcore, DXF text builders and a private temp directory per test so
// that the translator's logs and copies can be inspected.
#ifndef KXDXF_TESTS_DXFTESTSUPPORT_H
#define KXDXF_TESTS_DXFTESTSUPPORT_H

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "clsEngineApi.h"
#include "clsTranslator.h"

namespace kxdxf::test {

namespace fs = std::filesystem;

struct RecordedLayer {
    std::string name;
    int state;
    int color;
    int lineStyle;
    int lineWeight;
};

struct RecordedLineStyle {
    int kind;
    std::vector<double> elements;
};

// A KXAddText call: the text and its record.
struct RecordedText {
    std::string text;
    tagKXText record;
};

// Every engine call the translator makes, in order, as text ("AddLine
// 1,2 3,4"), plus the records behind the attribute calls.
struct Recorder {
    std::vector<std::string> calls;
    std::vector<RecordedLayer> layers;
    std::vector<RecordedLineStyle> lineStyles;
    std::vector<COLORREF> colors;
    std::vector<tagKXAttrib> attribSets;
    std::vector<std::pair<std::string, std::string>> properties;
    std::vector<std::array<double, 9>> pushedAxes;
    std::vector<std::string> layouts;
    int currentLayout = 0;
    int lastSetLayout = -1;
    std::vector<KXPatternRecord> patterns;
    int regions = 0;
    int paths = 0;
    int hatches = 0;
    std::vector<tagKXBlockDef> blocks;
    std::vector<tagKXInsert> inserts;
    bool refuseBlocks = false;  // StartBlock answers 0, as an engine that takes no blocks
    // Texts drawn and measured. KXAddText answers with extents of a font
    // whose characters are 0.8 * height wide (see textExtents).
    std::vector<RecordedText> texts;

    // Only the geometry calls, for comparing what two reads drew.
    std::vector<std::string> geometry() const;
    int count(const std::string& prefix) const;
};

Recorder& recorder();
// What the recording engine's KXAddText returns: drawn, the box from the
// reference point (x, y) to (x + width, y + height); measured, (0, 0,
// width, height of the lines wrapped at the wrap width).
KXTextExtents textExtents(const char* text, const tagKXText& record);
const clsEngineApi& recordingApi();

// A DXF file's text from its lines, joined with the line end.
std::string joinLines(std::initializer_list<std::string> lines, const std::string& eol = "\n");
std::string joinLines(const std::vector<std::string>& lines, const std::string& eol = "\n");

// Sections: "0 SECTION 2 <name> ... 0 ENDSEC".
std::vector<std::string> section(const std::string& name, std::vector<std::string> body);
std::vector<std::string> concat(std::initializer_list<std::vector<std::string>> parts);
std::vector<std::string> headerSection(const std::string& version);
std::vector<std::string> eofLines();

// Each test gets its own TMPDIR (logs, temp copies) and input folder.
class TranslatorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string writeFile(const std::string& name, const std::string& content);
    // Reads a file through the translator with the recording engine.
    int readWithRecorder(const std::string& path);
    int readText(const std::string& content, const std::string& name = "input.dxf");

    std::string traceLog() const { return slurp(tempDir_ / "TranslatorRead.log"); }
    std::string errorLog() const { return slurp(tempDir_ / "TranslatorRead.err"); }
    std::vector<std::string> tempFilesStartingWith(const std::string& prefix) const;
    static std::string slurp(const fs::path& path);

    fs::path tempDir_;
    fs::path inputDir_;

private:
    std::string savedTmpdir_;
    bool hadTmpdir_ = false;
};

}  // namespace kxdxf::test

#endif

#include "DxfTestSupport.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace kxdxf::test {
namespace {

Recorder gRecorder;

std::string num(double v)
{
    std::ostringstream out;
    out << v;
    return out.str();
}

std::string pt(const double* p)
{
    return num(p[0]) + "," + num(p[1]);
}

std::string elevation(const double* z)
{
    return z ? " z=" + num(*z) : std::string(" z=none");
}

int fakeAddLayout(KXDOC, const char* name)
{
    gRecorder.layouts.emplace_back(name);
    return static_cast<int>(gRecorder.layouts.size());
}
int fakeGetCurrentLayout(KXDOC)
{
    return gRecorder.currentLayout;
}
void fakeSetCurrentLayout(KXDOC, int index)
{
    gRecorder.lastSetLayout = index;
}
void fakeAddProperty(KXDOC, const char* name, const char* value)
{
    gRecorder.properties.emplace_back(name, value);
}
int fakeAttribColor(KXDOC, COLORREF color)
{
    gRecorder.colors.push_back(color);
    gRecorder.calls.push_back("AttribColor " + std::to_string(color));
    return static_cast<int>(gRecorder.colors.size());
}
int fakeAttribLineStyle(KXDOC, const tagKXLineStyle* style)
{
    RecordedLineStyle recorded{style->kind, {}};
    if (style->elements)
        recorded.elements.assign(style->elements, style->elements + style->count);
    gRecorder.lineStyles.push_back(recorded);
    gRecorder.calls.push_back("AttribLineStyle " + std::to_string(style->count));
    if (style->count < 2 || !style->elements)
        return KX_CONTINUOUS;
    return static_cast<int>(gRecorder.lineStyles.size());
}
int fakeAttribLayer(KXDOC, const tagKXLayer* layer)
{
    gRecorder.layers.push_back(
        {layer->name, layer->state, layer->color, layer->lineStyle, layer->lineWeight});
    gRecorder.calls.push_back(std::string("AttribLayer ") + layer->name);
    return static_cast<int>(gRecorder.layers.size());
}
int fakeAttribSet(KXDOC, tagKXAttrib* attrib)
{
    gRecorder.attribSets.push_back(*attrib);
    gRecorder.calls.push_back("AttribSet " + std::to_string(attrib->layer) + " " +
                              std::to_string(attrib->color) + " " + std::to_string(attrib->lineStyle) +
                              " " + std::to_string(attrib->lineWeight) + " " +
                              std::to_string(attrib->flags));
    return 1;
}
int fakeAddLine(KXDOC, const double* a, const double* b, const tagKXEntAttrib*, const double* z)
{
    gRecorder.calls.push_back("AddLine " + pt(a) + " " + pt(b) + elevation(z));
    return 1;
}
int fakeAddPolyline(KXDOC, const KXPoint* points, int count, const tagKXEntAttrib*, const double* z)
{
    std::string text = "AddPolyline";
    for (int i = 0; i < count; ++i)
        text += " " + num(points[i].x) + "," + num(points[i].y);
    gRecorder.calls.push_back(text + elevation(z));
    return 1;
}
int fakeAddCircle(KXDOC, const double* c, double r, const tagKXEntAttrib*, const double* z)
{
    gRecorder.calls.push_back("AddCircle " + pt(c) + " r=" + num(r) + elevation(z));
    return 1;
}
int fakeAddEllipse(KXDOC, const double* c, const double* axis, double ratio, const tagKXEntAttrib*,
                   const double* z)
{
    gRecorder.calls.push_back("AddEllipse " + pt(c) + " " + pt(axis) + " ratio=" + num(ratio) + elevation(z));
    return 1;
}
int fakeAddArc(KXDOC, const double* c, double r, double start, double end, const tagKXEntAttrib*,
               const double* z)
{
    char angles[128];
    std::snprintf(angles, sizeof angles, " a=%.17g,%.17g", start, end);
    gRecorder.calls.push_back("AddArc " + pt(c) + " r=" + num(r) + angles + elevation(z));
    return 1;
}
int fakeAddEllipticArc(KXDOC, const double* c, const double* axis, double ratio, double start,
                       double end, const tagKXEntAttrib*, const double* z)
{
    gRecorder.calls.push_back("AddEllipticArc " + pt(c) + " " + pt(axis) + " ratio=" + num(ratio) +
                              " a=" + num(start) + "," + num(end) + elevation(z));
    return 1;
}
int fakeAddSpline(KXDOC, int degree, KXPoint*, int count, const double*, int knots, const double*, int,
                  const tagKXEntAttrib*, const double*)
{
    gRecorder.calls.push_back("AddSpline d=" + std::to_string(degree) + " n=" + std::to_string(count) +
                              " k=" + std::to_string(knots));
    // As the engine: nothing is created unless the knots fit.
    return static_cast<long long>(degree) + count + 1 == knots ? 1 : 0;
}
void fakePush(KXDOC, const double* axes)
{
    std::array<double, 9> copy{};
    std::copy(axes, axes + 9, copy.begin());
    gRecorder.pushedAxes.push_back(copy);
    gRecorder.calls.push_back("Push");
}
void fakePop(KXDOC)
{
    gRecorder.calls.push_back("Pop");
}

int fakeClipRgnCreate(KXDOC)
{
    gRecorder.calls.push_back("ClipRgnCreate");
    return ++gRecorder.regions;
}
int fakeClipRgnAddPath(KXDOC, int region, int path)
{
    gRecorder.calls.push_back("ClipRgnAddPath " + std::to_string(region) + " " + std::to_string(path));
    return region > 0 && path > 0 ? 1 : 0;
}
int fakeClipRgnSet(KXDOC, int region, int flags)
{
    gRecorder.calls.push_back("ClipRgnSet " + std::to_string(region) + " " + std::to_string(flags));
    return region > 0 ? 1 : 0;
}
int fakeCreatePath(KXDOC)
{
    gRecorder.calls.push_back("CreatePath");
    return ++gRecorder.paths;
}
int fakePathAddPolyline(KXDOC, int path, const KXPoint* points, int count, const double* z)
{
    std::string text = "PathAddPolyline " + std::to_string(path);
    for (int i = 0; i < count; ++i)
        text += " " + num(points[i].x) + "," + num(points[i].y);
    gRecorder.calls.push_back(text + elevation(z));
    return 1;
}
int fakePathAddCircleArc(KXDOC, int path, const double* c, double r, double start, double end, int full,
                         const double* z)
{
    char angles[128];
    std::snprintf(angles, sizeof angles, " a=%.17g,%.17g", start, end);
    gRecorder.calls.push_back("PathAddCircleArc " + std::to_string(path) + " " + pt(c) + " r=" + num(r) + angles +
                              " full=" + std::to_string(full) + elevation(z));
    return 1;
}
int fakePathAddEllipticArc(KXDOC, int path, const double* c, const double* axis, double ratio, double start,
                           double end, int full, const double* z)
{
    gRecorder.calls.push_back("PathAddEllipticArc " + std::to_string(path) + " " + pt(c) + " " + pt(axis) +
                              " ratio=" + num(ratio) + " a=" + num(start) + "," + num(end) +
                              " full=" + std::to_string(full) + elevation(z));
    return 1;
}
int fakePathAddSpline(KXDOC, int path, int degree, KXPoint*, int count, const double*, int knots, const double*,
                      int flags, const double* z)
{
    gRecorder.calls.push_back("PathAddSpline " + std::to_string(path) + " d=" + std::to_string(degree) +
                              " n=" + std::to_string(count) + " k=" + std::to_string(knots) +
                              " f=" + std::to_string(flags) + elevation(z));
    return static_cast<long long>(degree) + count + 1 == knots ? 1 : 0;
}
// Hatch handles are the hatch's number, as a pointer.
KXHATCH fakeHatchCreate(KXDOC)
{
    gRecorder.calls.push_back("HatchCreate");
    return reinterpret_cast<KXHATCH>(static_cast<std::intptr_t>(++gRecorder.hatches));
}
int fakeHatchCreatePattern(KXDOC, const KXPatternRecord* pattern)
{
    gRecorder.patterns.push_back(*pattern);
    gRecorder.calls.push_back("HatchCreatePattern " + std::to_string(gRecorder.patterns.size()));
    return static_cast<int>(gRecorder.patterns.size());
}
int fakeHatchAddPattern(KXDOC, KXHATCH hatch, int pattern)
{
    gRecorder.calls.push_back("HatchAddPattern " + std::to_string(reinterpret_cast<std::intptr_t>(hatch)) + " " +
                              std::to_string(pattern));
    return hatch && pattern > 0 ? 1 : 0;
}
int fakeHatchSetClipRgn(KXDOC, KXHATCH hatch, int region)
{
    gRecorder.calls.push_back("HatchSetClipRgn " + std::to_string(reinterpret_cast<std::intptr_t>(hatch)) + " " +
                              std::to_string(region));
    return hatch && region > 0 ? 1 : 0;
}
int fakeStartBlock(KXDOC, const tagKXBlockDef* block)
{
    gRecorder.blocks.push_back(*block);
    gRecorder.calls.push_back(std::string("StartBlock ") + block->name + " " + num(block->baseX) + "," +
                              num(block->baseY));
    return gRecorder.refuseBlocks ? 0 : static_cast<int>(gRecorder.blocks.size());
}
int fakeEndBlock(KXDOC)
{
    gRecorder.calls.push_back("EndBlock");
    return static_cast<int>(gRecorder.blocks.size());
}
int fakeInsertBlockStr(KXDOC, const char* name, const tagKXInsert* insert, const double* z)
{
    gRecorder.inserts.push_back(*insert);
    gRecorder.calls.push_back(std::string("InsertBlockStr ") + name + " " + num(insert->x) + "," + num(insert->y) +
                              " r=" + num(insert->rotation) + " s=" + num(insert->scaleX) + "," +
                              num(insert->scaleY) + elevation(z));
    return 1;
}

KXTextExtents fakeAddText(KXDOC, const char* text, const tagKXText* record)
{
    gRecorder.texts.push_back({text, *record});
    gRecorder.calls.push_back(std::string(record->measureOnly ? "MeasureText " : "AddText ") + text + " " +
                              std::to_string(record->align) + " " + num(record->x) + "," + num(record->y));
    return textExtents(text, *record);
}

const clsEngineApi kRecordingApi{
    fakeAddLayout, fakeGetCurrentLayout, fakeSetCurrentLayout, fakeAddProperty,
    fakeAttribColor, fakeAttribLineStyle, fakeAttribLayer, fakeAttribSet,
    fakeAddLine, fakeAddPolyline, fakeAddCircle, fakeAddEllipse,
    fakeAddArc, fakeAddEllipticArc, fakeAddSpline, fakePush, fakePop,
    fakeClipRgnCreate, fakeClipRgnAddPath, fakeClipRgnSet, fakeCreatePath,
    fakePathAddPolyline, fakePathAddCircleArc, fakePathAddEllipticArc, fakePathAddSpline,
    fakeHatchCreate, fakeHatchCreatePattern, fakeHatchAddPattern, fakeHatchSetClipRgn,
    fakeStartBlock, fakeEndBlock, fakeInsertBlockStr,
    fakeAddText,
};

bool isGeometry(const std::string& call)
{
    return call.rfind("Add", 0) == 0 || call == "Push" || call == "Pop" || call.rfind("StartBlock", 0) == 0 ||
           call == "EndBlock" || call.rfind("InsertBlockStr", 0) == 0;
}

}  // namespace

std::vector<std::string> Recorder::geometry() const
{
    std::vector<std::string> out;
    for (const std::string& call : calls) {
        if (isGeometry(call))
            out.push_back(call);
    }
    return out;
}

int Recorder::count(const std::string& prefix) const
{
    int n = 0;
    for (const std::string& call : calls)
        n += call.rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
}

KXTextExtents textExtents(const char* text, const tagKXText& record)
{
    const double width = static_cast<double>(std::strlen(text)) * record.height * 0.8;
    if (!record.measureOnly)
        return {record.x, record.y, record.x + width, record.y + record.height};
    double lines = 1;
    if (record.wrapWidth > 0)
        lines = std::max(1.0, std::ceil(width / record.wrapWidth));
    return {0, 0, width, lines * (record.height + record.lineSpacing) - record.lineSpacing};
}

Recorder& recorder()
{
    return gRecorder;
}

const clsEngineApi& recordingApi()
{
    return kRecordingApi;
}

std::string joinLines(const std::vector<std::string>& lines, const std::string& eol)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + eol;
    return text;
}

std::string joinLines(std::initializer_list<std::string> lines, const std::string& eol)
{
    return joinLines(std::vector<std::string>(lines), eol);
}

std::vector<std::string> section(const std::string& name, std::vector<std::string> body)
{
    std::vector<std::string> lines{"0", "SECTION", "2", name};
    lines.insert(lines.end(), body.begin(), body.end());
    lines.insert(lines.end(), {"0", "ENDSEC"});
    return lines;
}

std::vector<std::string> concat(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

std::vector<std::string> headerSection(const std::string& version)
{
    return section("HEADER", {"9", "$ACADVER", "1", version});
}

std::vector<std::string> eofLines()
{
    return {"0", "EOF"};
}

void TranslatorTest::SetUp()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path base = fs::temp_directory_path() /
                          ("kxdxf-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" +
                           info->name());
    fs::remove_all(base);
    tempDir_ = base / "tmp";
    inputDir_ = base / "in";
    fs::create_directories(tempDir_);
    fs::create_directories(inputDir_);
    if (const char* old = std::getenv("TMPDIR")) {
        hadTmpdir_ = true;
        savedTmpdir_ = old;
    }
    ::setenv("TMPDIR", tempDir_.c_str(), 1);
    gRecorder = Recorder{};
}

void TranslatorTest::TearDown()
{
    if (hadTmpdir_)
        ::setenv("TMPDIR", savedTmpdir_.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    std::error_code ignored;
    fs::remove_all(tempDir_.parent_path(), ignored);
}

std::string TranslatorTest::writeFile(const std::string& name, const std::string& content)
{
    const fs::path path = inputDir_ / name;
    std::ofstream out(path, std::ios::binary);
    out << content;
    return path.string();
}

int TranslatorTest::readWithRecorder(const std::string& path)
{
    clsTranslator translator(recordingApi(), nullptr);
    return translator.read(path.c_str());
}

int TranslatorTest::readText(const std::string& content, const std::string& name)
{
    return readWithRecorder(writeFile(name, content));
}

std::vector<std::string> TranslatorTest::tempFilesStartingWith(const std::string& prefix) const
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(tempDir_)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) == 0)
            names.push_back(name);
    }
    return names;
}

std::string TranslatorTest::slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

}  // namespace kxdxf::test

#include "clsTranslator.h"

#include <cstdarg>
#include <exception>

#include "clsAbortRead.h"
#include "clsEntitySection.h"
#include "clsInputFile.h"
#include "clsLineRing.h"
#include "clsTempFiles.h"
#include "readBlocks.h"
#include "utlACItoRGB.h"
#include "utlDates.h"

namespace kxdxf {
namespace {

constexpr const char* kModelSpaceLayout = "Model space";
constexpr int kPaperSpaceLayoutIndex = 1;
constexpr int kModelSpaceLayoutIndex = 0;
constexpr const char* kTempCopyPrefix = "UNIX";
// The first bytes of a binary DXF file.
constexpr std::string_view kBinaryDxfSentinel("AutoCAD Binary DXF\r\n\x1a\0", 22);
constexpr int kAciByBlock = 0;
constexpr int kAciByLayer = 256;
constexpr int kAciFallback = 7;

struct VersionLog {
    const char* version;
    const char* name;
};

constexpr VersionLog kKnownVersions[] = {
    {"AC1018", "2004"}, {"AC1015", "2000"}, {"AC1014", "R14"},
    {"AC1012", "R13"},  {"AC1009", "R12/R11"},
};

// The two Julian values LINE reports in the trace log.
constexpr const char* kTraceDates[] = {"2451544.91568287", "2454091.895015729"};

}  // namespace

clsTranslator::clsTranslator(const clsEngineApi& api, KXDOC doc) : api_(api), doc_(doc) {}

const std::string& clsTranslator::fixedDateLines()
{
    if (fixedDateLines_.empty()) {
        for (const char* value : kTraceDates) {
            std::string text;
            utlJulianToText(value, text);
            if (!fixedDateLines_.empty())
                fixedDateLines_ += '\n';
            fixedDateLines_ += std::string("<") + value + "> <" + text + ">";
        }
    }
    return fixedDateLines_;
}

clsTranslator::~clsTranslator()
{
    cleanup();
}

void clsTranslator::utlFatal(const char* fmt, ...)
{
    // The message goes out before the input is closed: its arguments may
    // still point into the input.
    va_list args;
    va_start(args, fmt);
    logs_.fatalMsg(fmt, args);
    va_end(args);
    input_.close();
    throw clsAbortRead();
}

void clsTranslator::utlReadGrpCodeValue(std::string_view& code, std::string_view& value)
{
    const auto codeLine = input_.readLine();
    if (!codeLine)
        utlFatal("<utlReadGrpCodeValue>: fgets failed for Group Code\n");
    const auto valueLine = input_.readLine();
    if (!valueLine)
        utlFatal("<utlReadGrpCodeValue>: fgets failed for Value\n");
    code = *codeLine;
    value = *valueLine;
}

bool clsTranslator::utlReadLine(std::string_view& line)
{
    const auto next = input_.readLine();
    if (!next)
        return false;
    line = *next;
    return true;
}

int clsTranslator::utlColorACItoKXColor(int aci)
{
    logs_.logLine("<utlColorACItoKXColor>:\t\tentered");
    int color = 0;
    if (aci == kAciByLayer) {
        color = KX_BYLAYER;
    } else if (aci == kAciByBlock) {
        color = KX_BYBLOCK;
    } else {
        // Off-palette indices, and the negative ones of switched-off
        // layers, draw in the default colour.
        const int index = (aci >= 1 && aci <= 255) ? aci : kAciFallback;
        int& slot = colorCache_[static_cast<std::size_t>(index)];
        if (slot == 0)
            slot = api_.AttribColor(doc_, utlACItoRGB(index));
        color = slot;
    }
    logs_.logLine("<utlColorACItoKXColor>:\t\tnormal exit");
    return color;
}

int clsTranslator::read(const char* path)
{
    try {
        const int result = readSteps(path ? path : "");
        return result;
    } catch (const clsAbortRead&) {
        cleanup();
        return 0;
    } catch (const std::exception& e) {
        // Out of memory and the like: reported like an input error, so the
        // read never claims success.
        logs_.errMsg("TranslatorRead: ERROR <%s>\n", e.what());
        cleanup();
        return 0;
    }
}

void clsTranslator::cleanup()
{
    input_.close();
    clsTempFiles::remove(tempCopyPath_);
    tempCopyPath_.clear();
    tables_.clear();
    mlineStyles_.clear();
    blockGraph_.clear();
    logs_.close();
}

int clsTranslator::readSteps(const char* path)
{
    blockGraph_.clear();
    openLogs();
    logs_.logLine("<TranslatorRead>:\tEntered");
    logs_.logMsg("reading file:\t<%s>", path);
    chooseReadSpace();
    prepareInput(path);
    findAndReadHeader();
    std::string version;
    header_.getDXFProperty(*this, version);
    logVersion(version);
    dxf2000();
    input_.close();
    clsTempFiles::remove(tempCopyPath_);
    tempCopyPath_.clear();
    tables_.clear();
    mlineStyles_.clear();
    logs_.logLine("<TranslatorRead>:\tNormal Termination");
    logs_.close();
    return 1;
}

void clsTranslator::openLogs()
{
    logs_.open(clsTempFiles::directory());
}

void clsTranslator::chooseReadSpace()
{
    api_.AddLayout(doc_, kModelSpaceLayout);
    if (api_.GetCurrentLayout(doc_) == kPaperSpaceLayoutIndex) {
        readSpace_ = kReadPaperSpace;
        api_.SetCurrentLayout(doc_, kPaperSpaceLayoutIndex);
    } else {
        readSpace_ = kReadModelSpace;
        api_.SetCurrentLayout(doc_, kModelSpaceLayoutIndex);
    }
}

void clsTranslator::prepareInput(const char* path)
{
    logs_.logLine("<clsInputFile::getFileFormat>:\tentered");
    const std::optional<int> format = clsInputFile::getFileFormat(path);
    if (!format)
        utlFatal("<clsInputFile::getFileFormat>: ERROR opening file <%s>\n", path);

    std::string source(path);
    if (*format == clsInputFile::kBareCr) {
        tempCopyPath_ = clsTempFiles::createUnique(clsTempFiles::directory(), kTempCopyPrefix);
        if (tempCopyPath_.empty())
            utlFatal("TranslatorRead: ERROR opening file <%s>\n", path);
        const clsInputFile::CopyResult copied = clsInputFile::convertCrToLf(path, tempCopyPath_);
        if (copied != clsInputFile::CopyResult::Copied)
            utlFatal("TranslatorRead: ERROR opening file <%s>\n",
                     copied == clsInputFile::CopyResult::InputFailed ? path : tempCopyPath_.c_str());
        logs_.logMsg("szTmpUnixFileNm: <%s>", tempCopyPath_.c_str());
        source = tempCopyPath_;
    }
    if (!input_.open(source))
        utlFatal("TranslatorRead: ERROR opening file <%s>\n", source.c_str());
    if (input_.startsWith(kBinaryDxfSentinel))
        utlFatal("TranslatorRead: ERROR binary DXF file <%s> is not supported\n", path);
}

void clsTranslator::findAndReadHeader()
{
    clsLineRing ring;
    std::string_view line;
    while (utlReadLine(line)) {
        ring.push(line);
        if (ring.is("0", "SECTION", "2", "HEADER")) {
            header_.Read(*this);
            break;
        }
    }
    input_.rewind();
}

void clsTranslator::logVersion(const std::string& version)
{
    for (const VersionLog& known : kKnownVersions) {
        if (version == known.version) {
            logs_.logMsg("DXF VERSION\t<%s> - %s", known.version, known.name);
            return;
        }
    }
    if (version == "AC1006") {
        logs_.logLine("DXF VERSION\t<AC1006> - R10");
        logs_.errMsg("VERSION\t<AC1006> - R10\n");
        return;
    }
    logs_.logMsg("DXF VERSION\t<%s> - UNKNOWN", version.c_str());
    logs_.errMsg("UNKNOWN DXF VERSION\t<%s>\n", version.c_str());
}

void clsTranslator::dxf2000()
{
    logs_.logLine("<dxf2000>:\t\tentered");
    clsLineRing ring;
    std::string_view line;
    while (utlReadLine(line)) {
        ring.push(line);
        if (ring.is("0", "SECTION", "2", "TABLES"))
            tables_.readTables(*this);
        else if (ring.is("0", "SECTION", "2", "BLOCKS")) {
            readBlocks(*this);
            // Blocks that insert themselves are skipped by the engine; the
            // log names them once.
            for (const std::string& name : blockGraph_.blocksInCycles())
                logs_.errMsg("readBlocks:\tBlock <%s> inserts itself (directly or through other blocks), "
                             "the reference is skipped",
                    name.c_str());
        }
        else if (ring.is("0", "SECTION", "2", "ENTITIES"))
            clsEntitySection::readEntities(*this);
    }
    logs_.logLine("<dxf2000>:\texitting");
}

}  // namespace kxdxf

// One DXF read: the translator's whole state (logs, input, HEADER
// variables, tables, colour cache, current attributes) and the steps of
// TranslatorRead. Every read starts from a fresh object, so nothing leaks
// from one read into the next.
#ifndef KXDXF_CLSTRANSLATOR_H
#define KXDXF_CLSTRANSLATOR_H

#include <array>
#include <string>
#include <string_view>

#include "clsDxfStream.h"
#include "clsEngineApi.h"
#include "clsLogs.h"
#include "clssHEADER.h"
#include "clsBlockGraph.h"
#include "clssMLINE.h"
#include "clssTABLES.h"

namespace kxdxf {

// Which entities a read imports (group 67).
enum : int { kReadModelSpace = 1, kReadPaperSpace = 2 };
// The section being read, for the block colour rule of setEntityAttribs.
enum : int { kSectionNone = 0, kSectionBlocks = 4, kSectionEntities = 5 };

class clsTranslator {
public:
    clsTranslator(const clsEngineApi& api, KXDOC doc);
    clsTranslator(const clsTranslator&) = delete;
    clsTranslator& operator=(const clsTranslator&) = delete;
    ~clsTranslator();

    // TranslatorRead: 1 when the file was read to its end, 0 when the read
    // was aborted.
    int read(const char* path);

    // Readers' services.
    void utlLogMsg(std::string_view text) { logs_.logLine(text); }
    clsLogs& logs() { return logs_; }
    [[noreturn]] void utlFatal(const char* fmt, ...) __attribute__((format(printf, 2, 3)));

    // Reads one group-code / value pair; a failed read aborts the read. The
    // views stay valid until the input is closed.
    void utlReadGrpCodeValue(std::string_view& code, std::string_view& value);
    // Reads one line for the section search; false at the end of the file.
    bool utlReadLine(std::string_view& line);
    clsDxfStream& input() { return input_; }
    // The bound of a section loop: its own limit, or the most group code /
    // value pairs the rest of the input can hold (a pair takes two lines of
    // a byte at least), whichever is larger. The input's end then bounds the
    // loop, and a big drawing is read to its end however many entities it
    // holds.
    std::size_t utlSectionBound(std::size_t limit) const
    {
        const std::size_t pairsLeft = input_.remaining() / 2 + 1;
        return limit > pairsLeft ? limit : pairsLeft;
    }

    const clsEngineApi& api() const { return api_; }
    KXDOC doc() const { return doc_; }
    clssHEADER& header() { return header_; }
    clssTABLES& tables() { return tables_; }
    clssMLINE& mlineStyles() { return mlineStyles_; }
    clsBlockGraph& blockGraph() { return blockGraph_; }

    int readSpace() const { return readSpace_; }
    int currentSection() const { return currentSection_; }
    void setCurrentSection(int section) { currentSection_ = section; }

    // The attribute record last set by setEntityAttribs.
    tagKXAttrib& currentAttrib() { return currentAttrib_; }

    // Engine colour of an AutoCAD colour index, made once per read.
    int utlColorACItoKXColor(int aci);

    // The date texts LINE writes to the trace log: fixed values, so they
    // are computed once, on first use.
    const std::string& fixedDateLines();

private:
    int readSteps(const char* path);
    void openLogs();
    void chooseReadSpace();
    void prepareInput(const char* path);
    void findAndReadHeader();
    void logVersion(const std::string& version);
    void dxf2000();
    void cleanup();

    const clsEngineApi& api_;
    KXDOC doc_;
    clsLogs logs_;
    clsDxfStream input_;
    std::string tempCopyPath_;
    clssHEADER header_;
    clssTABLES tables_;
    clssMLINE mlineStyles_;
    clsBlockGraph blockGraph_;
    std::array<int, 256> colorCache_{};
    int readSpace_ = 0;
    int currentSection_ = kSectionNone;
    tagKXAttrib currentAttrib_{};
    std::string fixedDateLines_;
};

}  // namespace kxdxf

#endif

// Hostile drawings through the real translator and engine: each conversion
// runs in a child process, so that its peak memory can be measured and a
// crash shows as a failed test rather than ending the suite. Every one must
// end with a result, an error-log line where it gives something up, and
// memory bounded by what the file really holds; 10x the input may cost about
// 10x, never 100x.
#include <korvex/kxdoc.h>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/ScratchDir.h"

namespace {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMeasuresMemory = false;  // the sanitizer's shadow memory swamps the figures
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMeasuresMemory = false;
#else
constexpr bool kMeasuresMemory = true;
#endif
#else
constexpr bool kMeasuresMemory = true;
#endif

constexpr long kMegabyte = 1024;  // ru_maxrss counts kilobytes

struct Outcome {
    bool exited = false;  // false: the child died (a crash)
    bool read = false;
    bool closed = false;
    bool written = false;
    long peakKilobytes = 0;
    double seconds = 0.0;
    std::string errorLog;
};

// Read to its end, finished and written, within mostMegabytes of memory.
void ExpectConverted(const Outcome& o, long mostMegabytes)
{
    EXPECT_TRUE(o.exited);
    EXPECT_TRUE(o.read);
    EXPECT_TRUE(o.closed);
    EXPECT_TRUE(o.written);
    if (kMeasuresMemory) {
        EXPECT_LE(o.peakKilobytes, mostMegabytes * kMegabyte);
    }
}

std::string Entities(const std::string& body, const std::string& blocks = "")
{
    std::string text;
    if (!blocks.empty())
        text += "0\nSECTION\n2\nBLOCKS\n" + blocks + "0\nENDSEC\n";
    return text + "0\nSECTION\n2\nENTITIES\n" + body + "0\nENDSEC\n0\nEOF\n";
}

std::string Repeat(const std::string& piece, std::size_t times)
{
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

class HostileInput : public ::testing::Test {
protected:
    // Converts text (read, finish, write) in a child process.
    Outcome Convert(std::string text, const std::string& name = "hostile.dxf")
    {
        const std::string input = dir_ / name;
        {
            std::ofstream out(input, std::ios::binary);
            out << text;
        }
        // The child would count the text's pages as its own.
        text.clear();
        text.shrink_to_fit();
        fs::remove(dir_ / "TranslatorRead.err");
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child == 0) {
            setenv("TMPDIR", dir_.path().c_str(), 1);
            const KXDOC doc = KXCreateDocInstance();
            const std::string plugIn = (fs::path(KX_BIN_DIR) / "libdxfin.so").string();
            int status = KXRead(doc, input.c_str(), plugIn.c_str()) != 0 ? 1 : 0;
            if (KXClose(doc, 0) == 1)
                status |= 2;
            if (KXWrite(doc, (dir_ / "out.pdb").c_str()) == 1)
                status |= 4;
            KXDeleteDocInstance(doc);
            _exit(status);
        }
        Outcome outcome;
        int status = 0;
        rusage usage{};
        if (child < 0 || wait4(child, &status, 0, &usage) != child)
            return outcome;
        outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        outcome.exited = WIFEXITED(status);
        const int bits = outcome.exited ? WEXITSTATUS(status) : 0;
        outcome.read = (bits & 1) != 0;
        outcome.closed = (bits & 2) != 0;
        outcome.written = (bits & 4) != 0;
        outcome.peakKilobytes = usage.ru_maxrss;
        std::ifstream log(dir_ / "TranslatorRead.err");
        std::ostringstream all;
        all << log.rdbuf();
        outcome.errorLog = all.str();
        return outcome;
    }

    ScratchDir dir_;
};

TEST_F(HostileInput, EndlessEntityIsCutAndItsMemoryDoesNotGrowWithTheFile)
{
    // One LWPOLYLINE whose vertices never end: 2 MB and 20 MB of it.
    const std::string head = "0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n";
    const std::string vertex = "10\n1.5\n20\n2.5\n";
    const Outcome small = Convert(head + Repeat(vertex, 2 * 1024 * 1024 / vertex.size()));
    const Outcome large = Convert(head + Repeat(vertex, 20 * 1024 * 1024 / vertex.size()));
    for (const Outcome* o : {&small, &large}) {
        ASSERT_TRUE(o->exited);
        EXPECT_FALSE(o->read);
        EXPECT_TRUE(o->closed);
        EXPECT_NE(o->errorLog.find("Max number of group code - value pairs <100000> exceeded"), std::string::npos)
            << o->errorLog;
    }
    if (kMeasuresMemory) {
        EXPECT_LE(large.peakKilobytes, small.peakKilobytes * 3 / 2 + 8 * kMegabyte);
    }
    // Reading stops at the limit rather than walking the rest of the file.
    EXPECT_LE(large.seconds, 30.0 * small.seconds + 1.0);
}

TEST_F(HostileInput, BillionVertexCountsAreNotTrusted)
{
    const Outcome o = Convert(Entities(
        "0\nLWPOLYLINE\n90\n1000000000\n10\n0\n20\n0\n10\n1\n20\n1\n10\n2\n20\n0\n"
        "0\nPOLYLINE\n66\n1\n70\n0\n71\n1000000000\n72\n1000000000\n0\nVERTEX\n10\n0\n20\n0\n"
        "0\nVERTEX\n10\n5\n20\n5\n0\nSEQEND\n"));
    ExpectConverted(o, 100);
}

TEST_F(HostileInput, BlockBombStopsAtItsLimitWithinBoundedMemory)
{
    // Ten levels of ten references: a billion lines from 2.5 kB.
    std::string blocks = "0\nBLOCK\n2\nB0\n10\n0\n20\n0\n0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDBLK\n";
    for (int level = 1; level < 10; ++level) {
        blocks += "0\nBLOCK\n2\nB" + std::to_string(level) + "\n10\n0\n20\n0\n";
        for (int i = 0; i < 10; ++i)
            blocks += "0\nINSERT\n2\nB" + std::to_string(level - 1) + "\n10\n" + std::to_string(i) + "\n20\n0\n";
        blocks += "0\nENDBLK\n";
    }
    const Outcome o = Convert(Entities("0\nINSERT\n2\nB9\n10\n0\n20\n0\n", blocks));
    ExpectConverted(o, 1024);
}

TEST_F(HostileInput, HatchOfABillionLinesIsThinned)
{
    const Outcome o = Convert(Entities(
        "0\nHATCH\n10\n0\n20\n0\n30\n0\n2\nU\n70\n0\n71\n0\n91\n1\n92\n2\n72\n1\n73\n1\n93\n4\n"
        "10\n0\n20\n0\n10\n1000\n20\n0\n10\n1000\n20\n1000\n10\n0\n20\n1000\n97\n0\n75\n0\n76\n1\n52\n0\n41\n1\n"
        "77\n0\n78\n1\n53\n45\n43\n0\n44\n0\n45\n-0.000001\n46\n0.000001\n79\n0\n98\n0\n"));
    ExpectConverted(o, 300);
}

TEST_F(HostileInput, ManyFineHatchesShareTheDocumentsBound)
{
    // Each hatch alone is thinned to some 280000 lines; fifty of them stop
    // at the document's bound (the rest show their outline), so memory
    // stays near that of fourteen.
    const std::string hatch =
        "0\nHATCH\n10\n0\n20\n0\n30\n0\n2\nANSI31\n70\n0\n71\n0\n91\n1\n92\n2\n72\n1\n73\n1\n93\n4\n"
        "10\n0\n20\n0\n10\n1000\n20\n0\n10\n1000\n20\n1000\n10\n0\n20\n1000\n97\n0\n75\n0\n76\n1\n52\n0\n"
        "41\n0.000001\n77\n0\n78\n1\n53\n45\n43\n0\n44\n0\n45\n-0.000001\n46\n0.000001\n79\n0\n98\n0\n";
    const Outcome o = Convert(Entities(Repeat(hatch, 50)));
    ExpectConverted(o, 700);
}

TEST_F(HostileInput, DeepNestingOfBlocksAndMtextBraces)
{
    std::string blocks;
    for (int level = 0; level < 20000; ++level)
        blocks += "0\nBLOCK\n2\nN" + std::to_string(level) + "\n10\n0\n20\n0\n0\nINSERT\n2\nN" +
                  std::to_string(level + 1) + "\n10\n1\n20\n0\n0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDBLK\n";
    const std::string braces = std::string(500, '{') + "x" + std::string(500, '}');
    const Outcome o = Convert(Entities("0\nINSERT\n2\nN0\n10\n0\n20\n0\n"
                                       "0\nMTEXT\n10\n0\n20\n0\n40\n1\n71\n1\n1\n" + braces + "\n",
                                       blocks));
    ASSERT_TRUE(o.exited);
    EXPECT_TRUE(o.read);
    EXPECT_TRUE(o.written);
}

TEST_F(HostileInput, NonFiniteAndExtremeNumbersAreRefusedOrSkipped)
{
    std::string body;
    for (const char* v : {"1e308", "-1e308", "4.9e-324", "nan", "inf", "-inf", "1e309"}) {
        const std::string s = v;
        body += "0\nLINE\n10\n" + s + "\n20\n0\n11\n1\n21\n" + s + "\n";
        body += "0\nCIRCLE\n10\n0\n20\n0\n40\n" + s + "\n";
        body += "0\nARC\n10\n0\n20\n0\n40\n1\n50\n" + s + "\n51\n" + s + "\n";
        body += "0\nTEXT\n10\n0\n20\n0\n40\n" + s + "\n1\nabc\n50\n" + s + "\n";
        body += "0\nLWPOLYLINE\n90\n2\n10\n0\n20\n0\n42\n" + s + "\n10\n1\n20\n" + s + "\n";
        body += "0\nELLIPSE\n10\n0\n20\n0\n11\n" + s + "\n21\n1\n40\n" + s + "\n41\n0\n42\n" + s + "\n";
        body += "0\nINSERT\n2\nB\n10\n0\n20\n0\n41\n" + s + "\n42\n" + s + "\n50\n" + s + "\n";
        body += "0\nLWPOLYLINE\n90\n" + s + "\n10\n0\n20\n0\n10\n1\n20\n1\n";
    }
    const Outcome o = Convert(
        Entities(body + "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n",
                 "0\nBLOCK\n2\nB\n10\n0\n20\n0\n0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDBLK\n"));
    ASSERT_TRUE(o.exited);
    EXPECT_TRUE(o.read);
    EXPECT_TRUE(o.written);
    EXPECT_NE(o.errorLog.find("not a finite number"), std::string::npos) << o.errorLog;
}

// Ten times the entities, vertices, blocks or text may cost about ten times
// as much; a quadratic loop would cost a hundred.
TEST_F(HostileInput, TenTimesTheInputCostsAboutTenTimes)
{
    const auto lines = [](std::size_t n) {
        std::string body;
        for (std::size_t i = 0; i < n; ++i)
            body += "0\nLINE\n10\n" + std::to_string(i) + "\n20\n0\n11\n" + std::to_string(i) + "\n21\n5\n";
        return Entities(body);
    };
    const auto vertices = [](std::size_t n) {
        std::string body = "0\nLWPOLYLINE\n90\n" + std::to_string(n) + "\n";
        for (std::size_t i = 0; i < n; ++i)
            body += "10\n" + std::to_string(i) + "\n20\n" + std::to_string(i % 7) + "\n";
        return Entities(body);
    };
    const auto blocks = [](std::size_t n) {
        std::string defs, refs;
        for (std::size_t i = 0; i < n; ++i) {
            const std::string name = "B" + std::to_string(i);
            defs += "0\nBLOCK\n2\n" + name + "\n10\n0\n20\n0\n0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDBLK\n";
            refs += "0\nINSERT\n2\n" + name + "\n10\n" + std::to_string(i) + "\n20\n0\n";
        }
        return Entities(refs, defs);
    };
    const auto texts = [](std::size_t n) {
        const std::string value(1000, 'W');
        std::string body;
        for (std::size_t i = 0; i < n; ++i)
            body += "0\nTEXT\n10\n0\n20\n" + std::to_string(i * 2) + "\n40\n1\n1\n" + value + "\n";
        return Entities(body);
    };
    const struct {
        const char* what;
        std::string (*make)(std::size_t);
        std::size_t base;
    } cases[] = {{"entities", +lines, 5000}, {"vertices", +vertices, 4000},
                 {"blocks", +blocks, 500}, {"text characters", +texts, 20}};
    for (const auto& c : cases) {
        const Outcome small = Convert(c.make(c.base));
        const Outcome large = Convert(c.make(10 * c.base));
        ASSERT_TRUE(small.exited && large.exited) << c.what;
        EXPECT_TRUE(small.written && large.written) << c.what;
        // A loose bound: start-up and noise weigh on the small run.
        EXPECT_LE(large.seconds, 30.0 * small.seconds + 0.5) << c.what;
    }
}

}  // namespace

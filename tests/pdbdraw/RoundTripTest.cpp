// Every drawing of the shared corpus that converts is drawn twice, through
// the engine from the DXF and through the file reader from the drawing file
// the engine wrote, at the same size and window: the two pictures must
// carry the same ink (99% of either within one pixel of the other).
//
// They are compared with fine curves. With the table's coarse chords the
// pictures differ by design where the writer stored a curve too large for
// integer arithmetic as the points of every table step: the engine draws
// that curve with 40 chords per turn, the file holds 200.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "PdbDrawSupport.h"
#include "support/ScratchDir.h"

namespace {

namespace fs = std::filesystem;
using namespace pdbdrawtest;

constexpr int kSide = 1024;
constexpr double kAgreement = 0.99;

std::vector<fs::path> CorpusDrawings() {
    std::vector<fs::path> files;
    const fs::path corpus = fs::path(KX_SHARED_DIR) / "corpus" / "dxfjs";
    std::error_code error;
    if (!fs::is_directory(corpus, error)) return files;
    for (const auto& entry : fs::directory_iterator(corpus))
        if (entry.path().extension() == ".dxf") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(PdbRoundTrip, CorpusDrawingsLookTheSameFromTheFile) {
    const std::vector<fs::path> files = CorpusDrawings();
    if (files.empty()) GTEST_SKIP() << "no shared corpus at " << KX_SHARED_DIR;
    ScratchDir scratch;
    int compared = 0;
    for (const fs::path& dxf : files) {
        SCOPED_TRACE(dxf.filename().string());
        KXDOC doc = KXCreateDocInstance();
        ASSERT_NE(doc, nullptr);
        const std::string pdb = scratch / (dxf.stem().string() + ".pdb");
        // Finished for fine drawing, as both pictures are drawn: splines go
        // to the file as finely as the engine draws them.
        KXSetDisplayMode(doc, KX_DISPLAY_FINE_CURVES);
        const bool converted =
            KXRead(doc, dxf.string().c_str(), nullptr) != 0 && KXClose(doc, 0) != 0 && KXWrite(doc, pdb.c_str()) != 0;
        if (!converted) {
            KXDeleteDocInstance(doc);
            continue;
        }
        std::string error;
        const std::unique_ptr<CKXPdbDrawing> drawing = CKXPdbDrawing::Open(pdb, error);
        ASSERT_NE(drawing, nullptr) << error;
        const Window window = WindowOf(drawing->Info(), kSide);
        for (int mode : {KX_DISPLAY_FINE_CURVES, KX_DISPLAY_FINE_CURVES | CKXPdbPainter::kNoText}) {
            SCOPED_TRACE(mode);
            const Ink engine = DrawDocument(doc, window, mode);
            const Ink reader = DrawFile(*drawing, window, mode);
            const double readerNearEngine = CoveredShare(reader, engine);
            const double engineNearReader = CoveredShare(engine, reader);
            EXPECT_GE(readerNearEngine, kAgreement)
                << engine.Count() << " engine, " << reader.Count() << " reader pixels";
            EXPECT_GE(engineNearReader, kAgreement)
                << engine.Count() << " engine, " << reader.Count() << " reader pixels";
            if (readerNearEngine < kAgreement || engineNearReader < kAgreement) {
                const std::string name = dxf.stem().string() + "-" + std::to_string(mode);
                DrawDocument(doc, window, mode, (fs::temp_directory_path() / (name + "-engine.png")).string());
                DrawFile(*drawing, window, mode, (fs::temp_directory_path() / (name + "-file.png")).string());
            }
        }
        ++compared;
        KXDeleteDocInstance(doc);
    }
    RecordProperty("compared", compared);
    EXPECT_GT(compared, 0);
}

}  // namespace

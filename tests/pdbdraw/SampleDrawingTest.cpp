// The sample drawing, with every record kind, drawn from its file by the
// reader and from the document by the engine: same ink in every display
// mode, and the file's content is what was built.
#include <gtest/gtest.h>

#include "PdbDrawSupport.h"
#include "SampleDrawing.h"
#include "support/ScratchDir.h"

namespace {

using namespace pdbdrawtest;

class SampleDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        doc = WriteSample(scratch / "sample.pdb");
        ASSERT_NE(doc, nullptr);
        std::string error;
        drawing = CKXPdbDrawing::Open(scratch / "sample.pdb", error);
        ASSERT_NE(drawing, nullptr) << error;
    }
    void TearDown() override {
        if (doc != nullptr) KXDeleteDocInstance(doc);
    }

    ScratchDir scratch;
    KXDOC doc = nullptr;
    std::unique_ptr<CKXPdbDrawing> drawing;
};

void ExpectSameInk(const Ink& engine, const Ink& reader) {
    EXPECT_GT(engine.Count(), 1000u);
    EXPECT_GE(CoveredShare(engine, reader), 0.99) << engine.Count() << " engine, " << reader.Count() << " reader";
    EXPECT_GE(CoveredShare(reader, engine), 0.99) << engine.Count() << " engine, " << reader.Count() << " reader";
}

TEST_F(SampleDrawing, HoldsEveryRecordKind) {
    int kinds[13] = {};
    for (std::size_t n = 0; n < drawing->EntityCount(); ++n) ++kinds[drawing->Entity(n).kind];
    EXPECT_GT(kinds[kPdbLine], 10);
    EXPECT_GT(kinds[kPdbStyledLine], 0);
    EXPECT_GT(kinds[kPdbPolyline], 1);
    EXPECT_GT(kinds[kPdbAttribSet], 4);
    EXPECT_GT(kinds[kPdbCircle], 3);
    EXPECT_EQ(kinds[kPdbEllipse], 2);
    EXPECT_EQ(kinds[kPdbTextLine], 2);
    // Block references are stored exploded, each framed by a marker pair
    // once the finisher expands them.
    EXPECT_EQ(kinds[kPdbMarkerOpen], kinds[kPdbMarkerClose]);
    const KXPdbTables& tables = drawing->Tables();
    ASSERT_EQ(tables.layers.size(), 2u);
    EXPECT_EQ(tables.layers[0].name, "walls");
    EXPECT_EQ(tables.layers[1].state, 0);
    ASSERT_EQ(tables.lineStyles.size(), 1u);
    EXPECT_EQ(tables.lineStyles[0].elements.size(), 4u);
    EXPECT_FALSE(tables.glyphs.empty());
}

TEST_F(SampleDrawing, LooksTheSameInEveryDisplayMode) {
    const Window window = WindowOf(drawing->Info(), 800);
    for (int mode : {0, KX_DISPLAY_FINE_CURVES, CKXPdbPainter::kNoText, CKXPdbPainter::kNoLineStyles,
                     CKXPdbPainter::kNoLineWeights | CKXPdbPainter::kMonochrome}) {
        SCOPED_TRACE(mode);
        ExpectSameInk(DrawDocument(doc, window, mode), DrawFile(*drawing, window, mode));
    }
}

TEST_F(SampleDrawing, ZoomedWindowsFindTheirEntitiesThroughTheTileMap) {
    // A quarter of the drawing, and a small window at the text.
    const KXPdbDrawingInfo& info = drawing->Info();
    const double w = info.maxX - info.minX, h = info.maxY - info.minY;
    for (const auto& box : {std::array<double, 4>{info.minX, info.minY, info.minX + w / 2, info.minY + h / 2},
                            std::array<double, 4>{5.0, 240.0, 60.0, 265.0}}) {
        const Window window{box[0], box[1], box[2], box[3], 600, 600};
        ExpectSameInk(DrawDocument(doc, window, KX_DISPLAY_FINE_CURVES),
                      DrawFile(*drawing, window, KX_DISPLAY_FINE_CURVES));
    }
    // A window off the drawing draws nothing.
    HDC dc = KXCreateRasterDC(100, 100, kWhite);
    CKXPdbPainter painter(*drawing);
    EXPECT_TRUE(painter.Draw(dc, RECT{0, 0, 100, 100}, 1e6, 1e6, 1e6 + 10, 1e6 + 10));
    EXPECT_EQ(painter.DrawnCount(), 0u);
    EXPECT_FALSE(painter.Draw(dc, RECT{0, 0, 0, 100}, 0, 0, 10, 10));
    DeleteDC(dc);
}

TEST_F(SampleDrawing, SvgAndRasterContextsBothTakeTheDrawing) {
    const Window window = WindowOf(drawing->Info(), 400);
    HDC svg = KXCreateSvgDC(window.width, window.height, kWhite);
    CKXPdbPainter painter(*drawing);
    EXPECT_TRUE(
        painter.Draw(svg, RECT{0, 0, window.width, window.height}, window.xmin, window.ymin, window.xmax, window.ymax));
    EXPECT_GT(painter.DrawnCount(), 20u);
    ASSERT_TRUE(KXSaveDC(svg, (scratch / "sample.svg").c_str()));
    DeleteDC(svg);
    EXPECT_NE(scratch.Read("sample.svg").find("<path"), std::string::npos);
    // Pens made while drawing are all released.
    EXPECT_EQ(KXGdiObjectCount(), 0);
}

}  // namespace

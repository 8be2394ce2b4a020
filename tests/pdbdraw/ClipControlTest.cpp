// Clip sets and stacks that act at draw time are stored as a bare kind
// word, the same word that ends the last entity pool: the reader takes the
// word for a record of its own inside a pool, so nothing after it is lost.
#include <gtest/gtest.h>

#include <korvex/kxcore.h>

#include <string>

#include "CKXPdbDrawing.h"
#include "support/ScratchDir.h"

namespace {

struct DocHandle {
    KXDOC handle = KXCreateDocInstance();
    ~DocHandle() { KXDeleteDocInstance(handle); }
};

void AddLine(KXDOC doc, double x0, double y0, double x1, double y1) {
    const double s[2] = {x0, y0}, e[2] = {x1, y1};
    KXAddLine(doc, s, e, nullptr, nullptr);
}

int SquareRegion(KXDOC doc) {
    const int id = KXClipRgnCreate(doc);
    const KXPoint square[] = {{0, 0}, {50, 0}, {50, 50}, {0, 50}, {0, 0}};
    KXClipRgnAdd(doc, id, square, 5);
    return id;
}

// A line, then a clip set that acts at draw time.
class PdbClipControl : public ::testing::Test {
protected:
    void SetUp() override {
        AddLine(doc.handle, 0, 0, 100, 100);
        ASSERT_EQ(1, KXClipRgnSet(doc.handle, SquareRegion(doc.handle), 8 | 2));
    }

    std::unique_ptr<CKXPdbDrawing> WriteAndOpen(const char* name) {
        const std::string path = scratch / name;
        EXPECT_EQ(1, KXClose(doc.handle, 0));
        EXPECT_EQ(1, KXWrite(doc.handle, path.c_str()));
        std::string error;
        auto drawing = CKXPdbDrawing::Open(path, error);
        EXPECT_NE(drawing, nullptr) << error;
        return drawing;
    }

    ScratchDir scratch;
    DocHandle doc;
};

}  // namespace

TEST_F(PdbClipControl, RecordsAfterADrawTimeClipSetAreRead) {
    for (int i = 0; i < 20; ++i) AddLine(doc.handle, 10, i, 40, i + 1);
    const double centre[2] = {25, 25};
    KXAddCircle(doc.handle, centre, 10.0, nullptr, nullptr);

    auto drawing = WriteAndOpen("clipped.pdb");
    ASSERT_NE(drawing, nullptr);
    ASSERT_EQ(23u, drawing->EntityCount());
    EXPECT_EQ(kPdbLine, drawing->Entity(0).kind);
    EXPECT_EQ(kPdbClipControl, drawing->Entity(1).kind);
    for (std::size_t n = 2; n < 22; ++n) EXPECT_EQ(kPdbLine, drawing->Entity(n).kind) << n;
    EXPECT_EQ(kPdbCircle, drawing->Entity(22).kind);
    // The last line is whole, at its place.
    const KXPdbEntity last = drawing->Entity(21);
    const double s = drawing->Info().resolution;
    EXPECT_NEAR(40.0, last.q[2] / s + drawing->Info().minX, 1.0 / s + 1e-9);
}

TEST_F(PdbClipControl, AClipSetLastInTheStreamIsNotTheTerminator) {
    auto drawing = WriteAndOpen("last.pdb");
    ASSERT_NE(drawing, nullptr);
    ASSERT_EQ(2u, drawing->EntityCount());
    EXPECT_EQ(kPdbClipControl, drawing->Entity(1).kind);
}

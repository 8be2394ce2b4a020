// KXClose: splitting, resolutions, extents, the tree, properties and the
// quantised coordinates that the file takes.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>

#include "CKXAttribSet.h"
#include "file/CKXDocFinisher.h"
#include "CKXLine.h"
#include "CKXPolyline.h"
#include "FileTestSupport.h"
#include "file/KXCurrentResolution.h"
#include "render/clip/CKXClipRgnSet.h"

using namespace kxtest;

TEST(DocFinisher, SixHundredVertexPolylineIsSplitIntoConnectedPieces) {
    Doc doc;
    std::vector<KXPoint> points;
    for (int i = 0; i < 600; ++i) points.push_back({static_cast<double>(i), static_cast<double>(i % 7)});
    doc.Polyline(points);
    ASSERT_EQ(KXClose(doc.Handle(), 0), 1);
    const KXEntList& list = doc.Get().GetEntList();
    ASSERT_EQ(list.size(), 3u);
    std::size_t covered = 0;
    double previousEnd = 0.0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        ASSERT_EQ(list[i]->GetType(), KXENT_POLYLINE);
        const auto& piece = static_cast<const CKXPolyline&>(*list[i]);
        EXPECT_LE(piece.GetCount(), 250);
        if (i > 0) {
            EXPECT_EQ(piece.GetPoints().front().x, previousEnd);  // no gap between pieces
        }
        previousEnd = piece.GetPoints().back().x;
        covered += static_cast<std::size_t>(piece.GetCount());
    }
    EXPECT_EQ(previousEnd, 599.0);
    EXPECT_EQ(covered, 600u + 2);  // two shared joints
}

TEST(DocFinisher, PolylineOfExactlyTheLimitStaysWhole) {
    Doc doc;
    std::vector<KXPoint> points;
    for (int i = 0; i < 250; ++i) points.push_back({static_cast<double>(i), 0.0});
    doc.Polyline(points);
    ASSERT_EQ(KXClose(doc.Handle(), 0), 1);
    EXPECT_EQ(doc.Get().GetEntList().size(), 1u);
}

TEST(DocFinisher, ClipResolutionOfHalfByOneFifth) {
    EXPECT_EQ(CKXDocFinisher::ClipResolution(CFltExtents(0.0, 0.0, 0.5, 0.2)), 400000.0);
    EXPECT_EQ(CKXDocFinisher::ClipResolution(CFltExtents()), 0.0);
    // Flat boxes are limited by their other side.
    EXPECT_EQ(CKXDocFinisher::ClipResolution(CFltExtents(0.0, 0.0, 1000.0, 0.0)), 200.0);
}

TEST(DocFinisher, DrawingResolution) {
    EXPECT_EQ(CKXDocFinisher::DrawingResolution(CFltExtents(0, 0, 1000, 10), 0.0), 200.0);
    // Long patterns make room for themselves.
    EXPECT_EQ(CKXDocFinisher::DrawingResolution(CFltExtents(0, 0, 1000, 10), 100.0), 165.0);
    // Large drawings keep the fraction rather than truncating to 0.
    EXPECT_DOUBLE_EQ(CKXDocFinisher::DrawingResolution(CFltExtents(0, 0, 4e5, 1), 0.0), 0.5);
    // A drawing that is a single point gets the fallback, not infinity.
    EXPECT_EQ(CKXDocFinisher::DrawingResolution(CFltExtents(3, 3, 3, 3), 0.0), 1000.0);
}

TEST(DocFinisher, EmptyDocumentGetsZeroExtentsAndFallbackResolution) {
    Doc doc;
    EXPECT_EQ(KXClose(doc.Handle(), 0), 1);
    EXPECT_TRUE(doc.Get().IsClosed());
    const CFltExtents& e = doc.Get().GetExtents();
    EXPECT_EQ(e.xmin, 0.0);
    EXPECT_EQ(e.xmax, 0.0);
    EXPECT_EQ(doc.Get().GetResolution(), 1000.0);
    EXPECT_EQ(KXClose(nullptr, 0), 0);
}

TEST(DocFinisher, ExtentsResolutionAndQuantisedLine) {
    Doc doc;
    doc.Line(10, 20, 110, 70);
    doc.Line(10, 20, 60, 45);
    ASSERT_EQ(KXClose(doc.Handle(), 0), 1);
    const CFltExtents& e = doc.Get().GetExtents();
    EXPECT_EQ(e.xmin, 10.0);
    EXPECT_EQ(e.ymax, 70.0);
    EXPECT_EQ(doc.Get().GetResolution(), 2000.0);
    EXPECT_EQ(KXGetCurrentResolution(), 2000.0);
    const auto& line = static_cast<const CKXLine&>(*doc.Get().GetEntList()[0]);
    EXPECT_EQ(line.GetQuantised()[0], 0);
    EXPECT_EQ(line.GetQuantised()[2], 200000);
    EXPECT_EQ(line.GetQuantised()[3], 100000);
    // Every entity sits in exactly one cell of the tree.
    EXPECT_EQ(doc.Get().Tree().Size(), doc.Get().GetEntList().size());
}

TEST(DocFinisher, UnchangedAttributeSetsAreDroppedAndOthersResolved) {
    Doc doc;
    const int red = KXAttribColor(doc.Handle(), 0x0000FF);
    tagKXAttrib colour{0, red, 0, 0, 0};
    KXAttribSet(doc.Handle(), &colour);
    doc.Line(0, 0, 1, 1);
    // A repeat of the set in force changes nothing and goes.
    const int firstId = static_cast<const CKXAttribSet&>(*doc.Get().GetEntList()[0]).GetId();
    doc.Get().AddEnt(std::make_unique<CKXAttribSet>(firstId, 1.0), false, nullptr);
    // Switching colour away and back keeps both sets.
    const int green = KXAttribColor(doc.Handle(), 0x00FF00);
    tagKXAttrib other{0, green, 0, 0, 0};
    KXAttribSet(doc.Handle(), &other);
    KXAttribSet(doc.Handle(), &colour);
    doc.Line(1, 1, 2, 2);
    ASSERT_EQ(KXClose(doc.Handle(), 0), 1);
    int sets = 0;
    for (const KXEntPtr& ent : doc.Get().GetEntList()) sets += ent->GetType() == KXENT_ATTRIBSET;
    EXPECT_EQ(sets, 3);
    EXPECT_EQ(doc.Get().GetEntList().size(), 5u);
}

TEST(DocFinisher, PropertiesArePrefixedWithTheFileFacts) {
    ScopedTempDir dir;
    const std::string input = dir.File("input.dxf");
    {
        std::FILE* f = std::fopen(input.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("0\nEOF\n", f);
        std::fclose(f);
    }
    Doc doc;
    doc.Get().SetFileName(input);
    KXAddProperty(doc.Handle(), "Units", "mm");
    doc.Line(0, 0, 1, 1);
    ASSERT_EQ(KXClose(doc.Handle(), 0), 1);
    const std::vector<tagKXProperty>& p = doc.Get().Properties();
    ASSERT_EQ(p.size(), 5u);
    EXPECT_EQ(p[0].name, "FILE PROPERTIES");
    EXPECT_EQ(p[0].value, "");
    EXPECT_EQ(p[1].name, "File name");
    EXPECT_EQ(p[1].value, input);
    EXPECT_EQ(p[2].name, "File size");
    EXPECT_EQ(p[2].value, "6");
    EXPECT_EQ(p[3].name, "Modification time");
    ASSERT_FALSE(p[3].value.empty());
    EXPECT_EQ(p[3].value.back(), '\n');
    EXPECT_EQ(p[4].name, "Units");
}

TEST(DocFinisher, PropertiesWithoutAReadableFile) {
    Doc doc;
    doc.Get().SetFileName("/nonexistent/in.dxf");
    ASSERT_EQ(KXClose(doc.Handle(), 0), 1);
    const std::vector<tagKXProperty>& p = doc.Get().Properties();
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[1].value, "/nonexistent/in.dxf");
}

TEST(DocFinisher, StyledLinesBecomePhasedPiecesAndStillWrite) {
    ScopedTempDir dir;
    Doc doc;
    const double dash[2] = {2.0, -1.0};
    const tagKXLineStyle style{1, 2, dash};
    const int styleId = KXAttribLineStyle(doc.Handle(), &style);
    tagKXAttrib styled{0, 0, styleId, 0, 0};
    KXAttribSet(doc.Handle(), &styled);
    doc.Line(0, 0, 100, 0);
    doc.Line(0, 10, 100, 10);
    const KXPdbResult result = CloseWriteValidate(doc, dir.File("styled.pdb"));
    ASSERT_TRUE(result.ok) << result.error;
    // Each line became a piece that carries its place in the pattern.
    std::size_t phased = 0;
    for (const KXEntPtr& ent : doc.Get().GetEntList()) {
        if (ent->GetType() == KXENT_LINE) phased += static_cast<const CKXLine&>(*ent).HasPhase();
    }
    EXPECT_EQ(phased, 2u);
    EXPECT_EQ(result.summary.entityCountsByKind.count(7), 1u);
}

TEST(DocFinisher, LargeDocumentsIndexInTwoHalvesExactlyAsInOne) {
    // Enough entities for the two-thread indexing, lines of every size so
    // that all levels of the quadtree get some, and line-style sets with a
    // scale in both halves.
    Doc doc;
    const double dash[2] = {2.0, -1.0};
    const tagKXLineStyle style{1, 2, dash};
    const int styleId = KXAttribLineStyle(doc.Handle(), &style);
    const std::size_t lines = CKXDocFinisher::kTwoThreadIndexing + 4096;
    CKXDoc& d = doc.Get();
    const int styledRecord = d.Attribs().FindOrAddRecord(CKXAttribute{0, 0, styleId, 0});
    const double longDash[2] = {4.0, -1.0};
    const tagKXLineStyle otherStyle{1, 2, longDash};
    const int otherStyleId = KXAttribLineStyle(doc.Handle(), &otherStyle);
    const int otherRecord = d.Attribs().FindOrAddRecord(CKXAttribute{0, 0, otherStyleId, 0});
    for (std::size_t i = 0; i < lines; ++i) {
        const double x = static_cast<double>(i % 997) * 10.0;
        const double y = static_cast<double>(i % 641) * 10.0;
        const double size = static_cast<double>(1u << (i % 12));
        doc.Line(x, y, x + size, y + size / 2.0);
        if (i % 5000 == 0) {
            const int record = (i / 5000) % 2 == 0 ? styledRecord : otherRecord;
            d.AddEnt(std::make_unique<CKXAttribSet>(record, 2.0), false, nullptr);
        }
    }
    // The farthest entity comes last, in the later half.
    doc.Line(-7000, -3000, 60000, 45000);
    ASSERT_EQ(KXClose(doc.Handle(), 0), 1);
    const KXEntList& entities = d.GetEntList();
    ASSERT_GE(entities.size(), CKXDocFinisher::kTwoThreadIndexing);

    std::vector<std::vector<std::int32_t>> cells;
    for (int level = 0; level < CKXTree::kLevels; ++level)
        for (int cell = 0; cell <= d.Tree().GetLevel(level).maxCell; ++cell) cells.push_back(d.Tree().Cell(level, cell));
    std::vector<std::array<std::int32_t, 4>> quantised;
    std::vector<int> setIds;
    for (const KXEntPtr& ent : entities) {
        if (ent->GetType() == KXENT_LINE) {
            const std::int32_t* q = static_cast<const CKXLine&>(*ent).GetQuantised();
            quantised.push_back({q[0], q[1], q[2], q[3]});
        } else if (ent->GetType() == KXENT_ATTRIBSET) {
            const auto& set = static_cast<const CKXAttribSet&>(*ent);
            EXPECT_EQ(set.GetScale(), 1.0);
            setIds.push_back(set.GetId());
        }
    }

    // Measured in two halves too: the extents hold every entity.
    CFltExtents all;
    all.SetEmpty();
    for (const KXEntPtr& ent : entities) {
        CFltExtents box;
        ent->GetExtentsXf(box, nullptr, nullptr, 0);
        if (box.IsValid()) all.Merge(box);
    }
    EXPECT_EQ(d.GetExtents().xmin, all.xmin);
    EXPECT_EQ(d.GetExtents().ymin, all.ymin);
    EXPECT_EQ(d.GetExtents().xmax, all.xmax);
    EXPECT_EQ(d.GetExtents().ymax, all.ymax);
    EXPECT_EQ(all.xmax, 60000.0);

    // The same work done in one pass, in order.
    const double s = d.GetResolution();
    const CFltPoint origin{d.GetExtents().xmin, d.GetExtents().ymin};
    d.BuildTree([&](IKXEnt& ent) { ent.Quantise(s, origin); });
    std::size_t at = 0;
    for (int level = 0; level < CKXTree::kLevels; ++level)
        for (int cell = 0; cell <= d.Tree().GetLevel(level).maxCell; ++cell)
            ASSERT_EQ(d.Tree().Cell(level, cell), cells[at++]) << "level " << level << " cell " << cell;
    std::size_t line = 0;
    for (const KXEntPtr& ent : entities) {
        if (ent->GetType() != KXENT_LINE) continue;
        const std::int32_t* q = static_cast<const CKXLine&>(*ent).GetQuantised();
        ASSERT_EQ((std::array<std::int32_t, 4>{q[0], q[1], q[2], q[3]}), quantised[line]) << "line " << line;
        ++line;
    }
    // The sets alternate between two styles at scale 2: early or late in
    // the stream, each took the record of its one scaled style.
    ASSERT_GE(setIds.size(), 10u);
    EXPECT_NE(setIds[0], setIds[1]);
    for (std::size_t i = 2; i < setIds.size(); ++i) EXPECT_EQ(setIds[i], setIds[i % 2]) << "set " << i;
    EXPECT_LT(setIds[0], setIds[1]);  // made in stream order
    EXPECT_NE(setIds[0], styledRecord);
    EXPECT_NE(setIds[1], otherRecord);
}

TEST(DocFinisher, RegionsThatNoEntityOfTheStreamSetsLeaveTheStreamInPlace) {
    // A region made and never set in the stream (as hatch fills make them):
    // the entities stay themselves, not clipped copies, they are measured
    // whole, and the regions end empty as after stream clipping.
    Doc doc;
    doc.Line(-50, 5, 50, 5);
    const int region = KXClipRgnCreate(doc.Handle());
    ASSERT_GT(region, 0);
    const KXPoint square[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    ASSERT_EQ(KXClipRgnAdd(doc.Handle(), region, square, 4), 1);
    doc.Line(-40, 7, 60, 7);
    const IKXEnt* first = doc.Get().GetEntList().front().get();
    const IKXEnt* second = doc.Get().GetEntList().back().get();
    ASSERT_EQ(KXClose(doc.Handle(), 0), 1);
    const KXEntList& list = doc.Get().GetEntList();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].get(), first);
    EXPECT_EQ(list[1].get(), second);
    const CFltExtents& box = doc.Get().GetExtents();
    EXPECT_EQ(box.xmin, -50.0);
    EXPECT_EQ(box.xmax, 60.0);
    EXPECT_EQ(box.ymin, 5.0);
    EXPECT_EQ(box.ymax, 7.0);
    ASSERT_NE(doc.Get().GetClipRgnSet(), nullptr);
    EXPECT_TRUE(doc.Get().GetClipRgnSet()->IsEmpty());
}

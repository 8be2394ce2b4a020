// Blocks and references: definition through the C interface, resolution by
// number and by name, the explosion of the finished document (order,
// markers, attribute changes, base points), the record, and the guards
// against blocks that insert themselves and against block bombs.
#include <gtest/gtest.h>

#include <korvex/kxcore.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "CKXArchive.h"
#include "CKXDoc.h"
#include "CKXLine.h"
#include "CKXMarker.h"
#include "block/CKXBlock.h"
#include "block/CKXBlockExploder.h"
#include "block/CKXBlockRef.h"

namespace {

constexpr double kPi = 3.141592653589793;

class BlockTest : public ::testing::Test {
protected:
    void SetUp() override { m_doc = KXCreateDocInstance(); }
    void TearDown() override { KXDeleteDocInstance(m_doc); }

    CKXDoc& Doc() { return *static_cast<CKXDoc*>(m_doc); }

    int Start(const char* name, double baseX = 0, double baseY = 0) {
        tagKXBlockDef def{};
        std::strncpy(def.name, name, sizeof def.name - 1);
        def.baseX = baseX;
        def.baseY = baseY;
        return KXStartBlock(m_doc, &def);
    }
    void Line(double x0, double y0, double x1, double y1) {
        const double a[2] = {x0, y0}, b[2] = {x1, y1};
        ASSERT_EQ(1, KXAddLine(m_doc, a, b, nullptr, nullptr));
    }
    static tagKXInsert At(double x, double y, double rotation = 0, double sx = 1, double sy = 1) {
        return tagKXInsert{x, y, rotation, sx, sy};
    }
    int Insert(const char* name, const tagKXInsert& at) { return KXInsertBlockStr(m_doc, name, &at, nullptr); }

    // The finished stream as letters: M open, m close, L line, S attribute set.
    std::string Shape() {
        std::string out;
        for (const KXEntPtr& ent : Doc().GetEntList()) {
            switch (ent->GetType()) {
                case KXENT_MARKER:
                    out += static_cast<const CKXMarker&>(*ent).GetMarkerType() == CKXMarker::kOpen ? 'M' : 'm';
                    break;
                case KXENT_LINE:
                    out += 'L';
                    break;
                case KXENT_ATTRIBSET:
                    out += 'S';
                    break;
                default:
                    out += '?';
                    break;
            }
        }
        return out;
    }
    std::vector<const CKXLine*> Lines() {
        std::vector<const CKXLine*> lines;
        for (const KXEntPtr& ent : Doc().GetEntList())
            if (ent->GetType() == KXENT_LINE) lines.push_back(static_cast<const CKXLine*>(ent.get()));
        return lines;
    }

    KXDOC m_doc = nullptr;
};

TEST_F(BlockTest, DefinitionsNestNotAndNumberTheirBlocks) {
    EXPECT_EQ(0, KXEndBlock(m_doc));  // nothing open
    EXPECT_EQ(1, Start("A"));
    EXPECT_EQ(0, Start("B"));  // no nesting: A stays open
    Line(0, 0, 1, 0);
    EXPECT_EQ(1, KXEndBlock(m_doc));
    EXPECT_EQ(2, Start("B"));
    EXPECT_EQ(2, KXEndBlock(m_doc));
    EXPECT_EQ(1, static_cast<int>(Doc().Blocks()[0]->Entities().size()));
    EXPECT_TRUE(Doc().GetEntList().empty());
    const tagKXInsert at = At(0, 0);
    EXPECT_EQ(0, KXInsertBlock(m_doc, 3, &at, nullptr));
    EXPECT_EQ(0, KXInsertBlock(m_doc, 0, &at, nullptr));
    EXPECT_EQ(0, KXInsertBlockStr(m_doc, "", &at, nullptr));
    EXPECT_EQ(1, KXInsertBlock(m_doc, 2, &at, nullptr));
}

TEST_F(BlockTest, NamesResolveToTheLatestBlockAndNumbersToTheirOwn) {
    Insert("P", At(0, 0));  // before P exists
    Start("P");
    Line(0, 0, 1, 0);
    KXEndBlock(m_doc);
    Start("P");
    Line(0, 0, 0, 5);
    KXEndBlock(m_doc);
    const tagKXInsert at = At(100, 0);
    ASSERT_EQ(1, KXInsertBlock(m_doc, 1, &at, nullptr));
    ASSERT_EQ(1, KXClose(m_doc, 0));
    const auto lines = Lines();
    ASSERT_EQ(2u, lines.size());
    EXPECT_DOUBLE_EQ(5.0, lines[0]->GetEnd().y);    // by name: the later P
    EXPECT_DOUBLE_EQ(101.0, lines[1]->GetEnd().x);  // by number: the first P
}

TEST_F(BlockTest, NestedExplosionIsFramedByMarkersInOrder) {
    Start("INNER");
    Line(0, 0, 2, 0);  // B
    KXEndBlock(m_doc);
    Start("OUTER");
    Line(0, 0, 1, 0);  // A
    Insert("INNER", At(10, 0));
    Line(0, 0, 3, 0);  // C
    KXEndBlock(m_doc);
    Insert("OUTER", At(100, 0));
    ASSERT_EQ(1, KXClose(m_doc, 0));
    EXPECT_EQ("MMLLmLm", Shape());
    const auto lines = Lines();
    ASSERT_EQ(3u, lines.size());
    EXPECT_DOUBLE_EQ(101.0, lines[0]->GetEnd().x);
    EXPECT_DOUBLE_EQ(112.0, lines[1]->GetEnd().x);  // composed: 100 + 10 + 2
    EXPECT_DOUBLE_EQ(103.0, lines[2]->GetEnd().x);
}

TEST_F(BlockTest, AttributeChangesInsideABlockAreRestoredAfterIt) {
    Start("RED");
    KXAttribColor(m_doc, 0x0000FF);
    tagKXAttrib red{};
    red.color = 1;
    ASSERT_EQ(1, KXAttribSet(m_doc, &red));
    Line(0, 0, 1, 0);
    KXEndBlock(m_doc);
    Insert("RED", At(0, 0));
    Line(5, 5, 6, 6);
    ASSERT_EQ(1, KXClose(m_doc, 0));
    EXPECT_EQ("MSLSmL", Shape());
}

TEST_F(BlockTest, EmptyAndUnknownBlocksPlaceNothing) {
    Start("EMPTY");
    KXEndBlock(m_doc);
    Insert("EMPTY", At(0, 0));
    Insert("NOWHERE", At(0, 0));
    Line(0, 0, 1, 1);
    ASSERT_EQ(1, KXClose(m_doc, 0));
    EXPECT_EQ("L", Shape());
}

TEST_F(BlockTest, BasePointRotationAndScaleMapBlockPoints) {
    Start("B", 10, 10);
    Line(10, 10, 11, 10);
    KXEndBlock(m_doc);
    Insert("B", At(5, 5, kPi / 2, 2, 3));
    ASSERT_EQ(1, KXClose(m_doc, 0));
    const auto lines = Lines();
    ASSERT_EQ(1u, lines.size());
    EXPECT_NEAR(5.0, lines[0]->GetStart().x, 1e-12);
    EXPECT_NEAR(5.0, lines[0]->GetStart().y, 1e-12);
    // (1, 0) scaled by 2, then turned a quarter: (0, 2).
    EXPECT_NEAR(5.0, lines[0]->GetEnd().x, 1e-12);
    EXPECT_NEAR(7.0, lines[0]->GetEnd().y, 1e-12);
}

TEST_F(BlockTest, AReferenceMadeUnderACoordinateSystemIsProjectedThroughIt) {
    Start("B");
    Line(0, 0, 1, 0);
    KXEndBlock(m_doc);
    // X axis along world Y, Y axis along world -X, Z axis tilted in x.
    const double axes[9] = {0, 1, 0, -1, 0, 0, 0.5, 0, 1};
    KXPushCoordSys3D(m_doc, axes);
    const tagKXInsert at = At(2, 0);
    const double z = 4.0;
    ASSERT_EQ(1, KXInsertBlockStr(m_doc, "B", &at, &z));
    KXPopCoordSys3D(m_doc);
    ASSERT_EQ(1, KXClose(m_doc, 0));
    const auto lines = Lines();
    ASSERT_EQ(1u, lines.size());
    // (2, 0) and (3, 0) in the system: x along world y, shifted by Z.x * z = 2.
    EXPECT_NEAR(2.0, lines[0]->GetStart().x, 1e-12);
    EXPECT_NEAR(2.0, lines[0]->GetStart().y, 1e-12);
    EXPECT_NEAR(2.0, lines[0]->GetEnd().x, 1e-12);
    EXPECT_NEAR(3.0, lines[0]->GetEnd().y, 1e-12);
}

TEST(BlockRefRecord, RotationSurvivesTheRecordInEveryQuadrant) {
    for (const double rotation : {0.0, kPi / 4, 3 * kPi / 4, -3 * kPi / 4, -kPi / 4}) {
        CKXBlockRef ref(nullptr, nullptr, 0, "X");
        ref.Place({12.5, -3.25}, rotation, 2.0, 0.5);
        ref.Quantise(10.0, CFltPoint{0.0, 0.0});
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(ref.Write(nullptr)));
        ASSERT_EQ(44u, bytes.size());
        ASSERT_EQ(44, ref.Write(bytes.data()));
        CKXArchive archive(bytes.data() + 2, bytes.size() - 2);  // past the kind word
        CKXBlockRef back(nullptr, nullptr, 0, "");
        ASSERT_EQ(1, back.Read(&archive, 0));
        // The same turn (read back within -pi/2 .. 3pi/2).
        EXPECT_NEAR(std::cos(rotation), std::cos(back.GetRotation()), 1e-12) << rotation;
        EXPECT_NEAR(std::sin(rotation), std::sin(back.GetRotation()), 1e-12) << rotation;
        if (rotation == 3 * kPi / 4) {
            EXPECT_NEAR(rotation, back.GetRotation(), 1e-12);
        }
        EXPECT_DOUBLE_EQ(125.0, back.GetInsertion().x);
        EXPECT_DOUBLE_EQ(-32.0, back.GetInsertion().y);
        EXPECT_DOUBLE_EQ(2.0, back.GetScaleX());
        EXPECT_DOUBLE_EQ(0.5, back.GetScaleY());
    }
    CKXBlockRef ref(nullptr, nullptr, 0, "X");
    EXPECT_EQ(0, ref.Read(nullptr, 0));
}

TEST(BlockRecord, ABlockReadsBackTheRecordsItWrote) {
    CKXBlock block("B", CFltPoint{0, 0});
    block.AddEnt(std::make_unique<CKXLine>(CFltPoint{0, 0}, CFltPoint{10, 0}), true, nullptr);
    auto ref = std::make_unique<CKXBlockRef>(nullptr, nullptr, 0, "C");
    ref->Place({5, 5}, 3 * kPi / 4, 1, 1);
    block.AddEnt(std::move(ref), true, nullptr);
    block.AddEnt(std::make_unique<CKXMarker>(CKXMarker::kOpen), false, nullptr);
    block.Quantise(1.0, CFltPoint{});
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(block.Write(nullptr)));
    ASSERT_EQ(2 + 18 + 44 + 2, static_cast<int>(bytes.size()));
    block.Write(bytes.data());

    CKXArchive archive(bytes.data() + 2, bytes.size() - 2);
    CKXBlock back("B", CFltPoint{0, 0});
    ASSERT_EQ(1, back.Read(&archive, 0));
    ASSERT_EQ(3, back.GetCount());
    EXPECT_EQ(KXENT_LINE, back.GetEnt(0)->GetType());
    EXPECT_EQ(KXENT_BLOCKREF, back.GetEnt(1)->GetType());
    EXPECT_NEAR(3 * kPi / 4, static_cast<const CKXBlockRef*>(back.GetEnt(1))->GetRotation(), 1e-12);
    EXPECT_EQ(KXENT_MARKER, back.GetEnt(2)->GetType());
    EXPECT_DOUBLE_EQ(10.0, static_cast<const CKXLine*>(back.GetEnt(0))->GetEnd().x);

    // A record it cannot read, or one cut short, fails the read.
    std::vector<std::uint8_t> cut(bytes.begin() + 2, bytes.end() - 30);
    CKXArchive shortArchive(cut.data(), cut.size());
    CKXBlock partial("P", CFltPoint{0, 0});
    EXPECT_EQ(0, partial.Read(&shortArchive, 0));
    const std::uint8_t unknown[] = {0x00, 0x1F, 0, 0};
    CKXArchive unknownArchive(unknown, sizeof unknown);
    EXPECT_EQ(0, CKXBlock("U", CFltPoint{0, 0}).Read(&unknownArchive, 0));
    EXPECT_EQ(0, back.Read(nullptr, 0));
}

TEST_F(BlockTest, BlocksThatInsertThemselvesAreSkippedNotFollowed) {
    Start("SELF");
    Line(0, 0, 1, 0);
    Insert("SELF", At(1, 0));
    KXEndBlock(m_doc);
    Start("PING");
    Insert("PONG", At(0, 1));
    KXEndBlock(m_doc);
    Start("PONG");
    Line(0, 0, 0, 1);
    Insert("PING", At(1, 0));
    KXEndBlock(m_doc);
    Insert("SELF", At(0, 0));
    Insert("PING", At(10, 0));
    // Extents and drawing walk the same nesting without end as well.
    for (const KXEntPtr& ent : Doc().GetEntList()) ent->Update();
    ASSERT_EQ(1, KXClose(m_doc, 0));
    EXPECT_EQ(2u, Lines().size());  // each block's own line, once
}

TEST_F(BlockTest, ExpansionLimitFollowsWhatTheDocumentHolds) {
    // A few hundred bytes of nested references may not place fifty million
    // entities (gigabytes): the limit is a multiple of the entities held,
    // never below its floor nor above its ceiling.
    EXPECT_EQ(CKXBlockExploder::LimitFor(Doc()), CKXBlockExploder::kLeastLimit);
    Start("ROW");
    for (int i = 0; i < 2000; ++i) Line(i, 0, i + 1, 0);
    KXEndBlock(m_doc);
    for (int i = 0; i < 1000; ++i) Insert("ROW", At(0, i));
    EXPECT_EQ(CKXBlockExploder::LimitFor(Doc()), 3000 * CKXBlockExploder::kPlacedPerEntity);
    // Finishing sees the stream's references too: all two million lines.
    ASSERT_EQ(1, KXClose(m_doc, 0));
    EXPECT_EQ(2'000'000u, Lines().size());
}

TEST_F(BlockTest, ExpansionStopsAtItsLimit) {
    // Ten levels of ten references each would place ten billion lines.
    Start("L0");
    Line(0, 0, 1, 0);
    KXEndBlock(m_doc);
    for (int level = 1; level <= 10; ++level) {
        const std::string name = "L" + std::to_string(level);
        const std::string inner = "L" + std::to_string(level - 1);
        Start(name.c_str());
        for (int i = 0; i < 10; ++i) Insert(inner.c_str(), At(i, 0));
        KXEndBlock(m_doc);
    }
    CKXBlockRef top(&Doc(), nullptr, 0, "L10");
    top.Place({0, 0}, 0, 1, 1);
    CKXBlockExploder exploder(Doc(), 5000);
    KXEntList out;
    exploder.Explode(top, out);
    EXPECT_LE(exploder.Placed(), 5000u);
    EXPECT_GE(exploder.Placed(), 4990u);
    EXPECT_FALSE(exploder.Status());
    EXPECT_NE(std::string::npos, exploder.Status().Reason().find("5000"));
    // Every opener still has its closer.
    int depth = 0;
    for (const KXEntPtr& ent : out) {
        if (ent->GetType() != KXENT_MARKER) continue;
        depth += static_cast<const CKXMarker&>(*ent).GetMarkerType() == CKXMarker::kOpen ? 1 : -1;
        ASSERT_GE(depth, 0);
    }
    EXPECT_EQ(0, depth);
}

}  // namespace

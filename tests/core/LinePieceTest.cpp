#include <gtest/gtest.h>

#include <memory>

#include "CKXLine.h"
#include "CKXLinePiece.h"

namespace {

TEST(LinePiece, IsPhasedFromTheStartWithAFreshRecord) {
    CKXLinePiece piece({0, 0}, {4, 0});
    ASSERT_TRUE(piece.HasPhase());
    ASSERT_NE(piece.GetPhase(), nullptr);
    EXPECT_EQ(piece.GetPhase()->elementIndex, 0);
    EXPECT_EQ(piece.GetPhase()->deviceOffset, -1);
    EXPECT_EQ(&piece.EnsurePhase(), piece.GetPhase());
    EXPECT_EQ(piece.GetRecordKind(), KXREC_STYLEDLINE);
}

TEST(LinePiece, CopiesAreLinesWithARecordOfTheirOwn) {
    auto piece = std::make_unique<CKXLinePiece>(CFltPoint{0, 0}, CFltPoint{4, 0});
    piece->EnsurePhase().elementIndex = 2;
    const CKXLine copy(*piece);
    piece.reset();
    ASSERT_TRUE(copy.HasPhase());
    EXPECT_EQ(copy.GetPhase()->elementIndex, 2);
}

TEST(LinePiece, TakesAssignedPhasesAndLosesItsOwnWhenCleared) {
    CKXLinePiece piece({0, 0}, {4, 0});
    CKXLine plain({1, 1}, {2, 2});
    plain.EnsurePhase().offset = 1.5;
    static_cast<CKXLine&>(piece) = plain;
    EXPECT_EQ(piece.GetStart().x, 1.0);
    EXPECT_DOUBLE_EQ(piece.GetPhase()->offset, 1.5);
    EXPECT_NE(piece.GetPhase(), plain.GetPhase());
    piece.ClearPhase();
    EXPECT_FALSE(piece.HasPhase());
    EXPECT_EQ(piece.GetPhase(), nullptr);
    EXPECT_DOUBLE_EQ(piece.EnsurePhase().offset, 0.0);

    CKXLine line({0, 0}, {1, 0});
    CKXLinePiece other({5, 5}, {6, 6});
    other.EnsurePhase().elementIndex = 1;
    line = other;
    EXPECT_EQ(line.GetPhase()->elementIndex, 1);
    EXPECT_NE(line.GetPhase(), other.GetPhase());
}

}  // namespace

// The document's store of exploded line pieces: pieces end through their
// owners without being freed, room given back is reused, and prefetching
// changes nothing a piece holds.
#include <gtest/gtest.h>

#include <vector>

#include "CKXLinePiece.h"
#include "CKXPieceStore.h"
#include "IKXEnt.h"

namespace {

CFltPoint At(std::size_t i) { return {static_cast<double>(i), -static_cast<double>(i)}; }

void ExpectPiecesHoldTheirPoints(const KXEntList& pieces) {
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const auto& line = static_cast<const CKXLine&>(*pieces[i]);
        ASSERT_EQ(line.GetStart(), At(i)) << "piece " << i;
        ASSERT_EQ(line.GetEnd(), At(i + 1)) << "piece " << i;
        ASSERT_TRUE(line.HasPhase());
        ASSERT_EQ(line.GetPhase()->deviceOffset, -1);
    }
}

TEST(PieceStore, PiecesOverSeveralBlocksKeepTheirPointsAndEndThroughTheirOwners) {
    CKXPieceStore store;
    const std::size_t n = 2 * CKXPieceStore::PiecesPerBlock() + 3;
    {
        KXEntList pieces;
        for (std::size_t i = 0; i < n; ++i) pieces.emplace_back(store.Make(At(i), At(i + 1)));
        EXPECT_EQ(store.Count(), n);
        ExpectPiecesHoldTheirPoints(pieces);
        // Made one after another in a block.
        EXPECT_EQ(reinterpret_cast<const unsigned char*>(pieces[1].get()) -
                      reinterpret_cast<const unsigned char*>(pieces[0].get()),
                  static_cast<std::ptrdiff_t>(sizeof(CKXLinePiece)));
    }  // the owners end them; freeing memory the heap never gave would fail here
}

TEST(PieceStore, RewindingReusesTheRoomOfDisposedPieces) {
    CKXPieceStore store;
    KXEntList pieces;
    for (std::size_t i = 0; i < 10; ++i) pieces.emplace_back(store.Make(At(i), At(i + 1)));
    const IKXEnt* seventh = pieces[7].get();
    pieces.resize(7);
    store.Rewind(7);
    EXPECT_EQ(store.Count(), 7u);
    pieces.emplace_back(store.Make(At(7), At(8)));
    EXPECT_EQ(pieces.back().get(), seventh);
    ExpectPiecesHoldTheirPoints(pieces);
    store.Rewind(100);  // never forward
    EXPECT_EQ(store.Count(), 8u);
}

TEST(PieceStore, AStoredPieceGivenAPhaseOfItsOwnReleasesIt) {
    CKXPieceStore store;
    KXEntPtr owner(store.Make({0, 0}, {1, 0}));
    CKXLine plain({0, 0}, {2, 0});
    plain.EnsurePhase().offset = 0.5;
    // Assignment hands the piece a phase record on the heap; destroying
    // the piece in place must free it (a leak shows under the sanitizer).
    static_cast<CKXLine&>(*owner) = plain;
    EXPECT_DOUBLE_EQ(static_cast<CKXLine&>(*owner).GetPhase()->offset, 0.5);
}

TEST(PieceStore, HeapPiecesAreStillDeleted) {
    KXEntPtr piece = std::make_unique<CKXLinePiece>(CFltPoint{0, 0}, CFltPoint{1, 1});
    EXPECT_TRUE(static_cast<CKXLine&>(*piece).HasPhase());
}

TEST(PieceStore, PrefetchingLeavesPiecesAsTheyAreMade) {
    CKXPieceStore store;
    KXEntList pieces;
    store.StartPrefetching();
    const std::size_t n = 3 * CKXPieceStore::PiecesPerBlock() + 1;
    for (std::size_t i = 0; i < n; ++i) pieces.emplace_back(store.Make(At(i), At(i + 1)));
    store.StopPrefetching();
    ExpectPiecesHoldTheirPoints(pieces);
    // Making goes on after prefetching stops, also past the blocks given back.
    const std::size_t more = n + CKXPieceStore::PiecesPerBlock();
    for (std::size_t i = n; i < more; ++i) pieces.emplace_back(store.Make(At(i), At(i + 1)));
    ExpectPiecesHoldTheirPoints(pieces);
}

}  // namespace

// The document's store of exploded line pieces: pieces end through their
// owners without being freed, room given back is reused, and prefetching
// changes nothing a piece holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
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

TEST(PieceStore, PiecesKeepEveryPhaseRecordInsideThemselves) {
    // What lets a document let go of its pieces unvisited: none of them
    // ever holds memory of its own.
    CKXPieceStore store;
    KXEntPtr owner(store.Make({0, 0}, {1, 0}));
    auto& piece = static_cast<CKXLine&>(*owner);
    const auto inside = [&piece](const KXLinePhase* phase) {
        const auto* begin = reinterpret_cast<const unsigned char*>(&piece);
        const auto* at = reinterpret_cast<const unsigned char*>(phase);
        return at >= begin && at < begin + sizeof(CKXLinePiece);
    };
    CKXLine plain({0, 0}, {2, 0});
    plain.EnsurePhase().offset = 0.5;
    piece = plain;
    EXPECT_TRUE(inside(piece.GetPhase()));
    EXPECT_DOUBLE_EQ(piece.GetPhase()->offset, 0.5);
    piece.ClearPhase();
    EXPECT_EQ(piece.GetPhase(), nullptr);
    EXPECT_TRUE(inside(&piece.EnsurePhase()));
    EXPECT_DOUBLE_EQ(piece.GetPhase()->offset, 0.0);
    const CKXLine unphased({0, 0}, {3, 0});
    piece = unphased;
    EXPECT_FALSE(piece.HasPhase());
    EXPECT_TRUE(inside(&piece.EnsurePhase()));
}

TEST(PieceStore, TellsItsPiecesFromOtherEntities) {
    CKXPieceStore store;
    CKXPieceStore other;
    std::vector<const IKXEnt*> made;
    store.StartPrefetching();
    for (std::size_t i = 0; i < 2 * CKXPieceStore::PiecesPerBlock() + 5; ++i) made.push_back(store.Make(At(i), At(i)));
    store.StopPrefetching();
    const IKXEnt* elsewhere = other.Make({0, 0}, {1, 1});
    const auto heap = std::make_unique<CKXLinePiece>(CFltPoint{0, 0}, CFltPoint{1, 1});
    // Asked in list order, out of order, and for what is not its own.
    for (const IKXEnt* piece : made) ASSERT_TRUE(store.Owns(piece));
    for (std::size_t i = made.size(); i > 0; i -= std::min<std::size_t>(i, 997)) ASSERT_TRUE(store.Owns(made[i - 1]));
    EXPECT_FALSE(store.Owns(elsewhere));
    EXPECT_FALSE(store.Owns(heap.get()));
    EXPECT_FALSE(store.Owns(nullptr));
    EXPECT_TRUE(other.Owns(elsewhere));
    for (const IKXEnt* piece : made) const_cast<IKXEnt*>(piece)->Dispose();
    const_cast<IKXEnt*>(elsewhere)->Dispose();
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

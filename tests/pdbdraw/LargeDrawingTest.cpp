// A drawing whose entity pools are large enough to be decoded in two runs
// at once: it loads as the checker reads it, and a damaged file reports
// its first fault in file order, whichever run meets it.
#include <gtest/gtest.h>

#include <korvex/kxcore.h>

#include <memory>
#include <string>
#include <vector>

#include "CKXPdbDrawing.h"
#include "CKXPdbValidator.h"
#include "support/ScratchDir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Over a megabyte of pools: short lines on a grid.
Bytes WriteLargeDrawing(const ScratchDir& scratch) {
    KXDOC doc = KXCreateDocInstance();
    if (doc == nullptr) return {};
    for (int i = 0; i < 80000; ++i) {
        const double start[2] = {double(i % 400), double(i / 400)};
        const double end[2] = {start[0] + 0.75, start[1] + 0.5};
        KXAddLine(doc, start, end, nullptr, nullptr);
    }
    const bool written = KXClose(doc, 0) != 0 && KXWrite(doc, (scratch / "large.pdb").c_str()) != 0;
    KXDeleteDocInstance(doc);
    if (!written) return {};
    const std::string file = scratch.Read("large.pdb");
    return Bytes(file.begin(), file.end());
}

std::string LoadError(Bytes bytes) {
    std::string error;
    const std::unique_ptr<CKXPdbDrawing> drawing = CKXPdbDrawing::FromBytes(std::move(bytes), error);
    EXPECT_EQ(drawing == nullptr, !error.empty());
    return error;
}

TEST(LargeDrawing, LoadsInTwoRunsAsTheCheckerReadsIt) {
    ScratchDir scratch;
    const Bytes good = WriteLargeDrawing(scratch);
    ASSERT_GT(good.size(), std::size_t{1} << 20);
    const KXPdbResult checked = CKXPdbValidator(good).Validate();
    ASSERT_TRUE(checked.ok) << checked.error;
    const std::vector<KXPdbEntityInfo>& entities = checked.summary.entities;
    ASSERT_GT(entities.back().pool, 1);

    std::string error;
    const std::unique_ptr<CKXPdbDrawing> drawing = CKXPdbDrawing::Open(scratch / "large.pdb", error);
    ASSERT_TRUE(drawing) << error;
    ASSERT_EQ(drawing->EntityCount(), entities.size());
    for (std::size_t n = 0; n < entities.size(); n += 997) EXPECT_EQ(drawing->Entity(n).kind, entities[n].kind) << n;
    EXPECT_EQ(drawing->Entity(entities.size() - 1).kind, entities.back().kind);

    // An unknown kind in the first pool and one in the last.
    const auto damaged = [&good](std::initializer_list<std::uint32_t> offsets) {
        Bytes bad = good;
        for (std::uint32_t at : offsets) {
            bad[at] = 0x00;
            bad[at + 1] = 0x1F;
        }
        return bad;
    };
    const std::uint32_t early = entities[entities.size() / 10].fileOffset;
    const std::uint32_t late = entities[entities.size() - 10].fileOffset;
    const std::string earlyError = LoadError(damaged({early}));
    const std::string lateError = LoadError(damaged({late}));
    EXPECT_NE(earlyError.find("unknown record kind"), std::string::npos) << earlyError;
    EXPECT_NE(lateError.find("unknown record kind"), std::string::npos) << lateError;
    EXPECT_NE(earlyError, lateError);
    EXPECT_EQ(LoadError(damaged({early, late})), earlyError);
}

}  // namespace

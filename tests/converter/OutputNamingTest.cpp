// Output names: fitting to 30 characters, page suffixes, unique names.
#include "OutputNaming.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using OutputNaming::Fit;
using OutputNaming::kNoPage;
using OutputNaming::OutputPath;

auto NothingExists() {
    return [](const std::string&) { return false; };
}

auto ExistsIn(const std::set<std::string>& paths) {
    return [paths](const std::string& path) { return paths.count(path) != 0; };
}

TEST(OutputNaming, BaseNamesAndSuffixes) {
    EXPECT_EQ(OutputNaming::BaseNameOf("/data/plans/plan.dxf"), "plan");
    EXPECT_EQ(OutputNaming::BaseNameOf("archive.v2.dxf"), "archive.v2");
    EXPECT_EQ(OutputNaming::BaseNameOf("noext"), "noext");
    EXPECT_EQ(OutputNaming::FileNameOf("/data/plan.dxf"), "plan.dxf");
    EXPECT_EQ(OutputNaming::PageSuffix(kNoPage), "");
    EXPECT_EQ(OutputNaming::PageSuffix(0), "(p0)");
    EXPECT_EQ(OutputNaming::PageSuffix(12), "(p12)");
}

TEST(OutputNaming, FitKeepsShortNamesAndTagsLongOnes) {
    EXPECT_EQ(Fit("plan", "", 1, false), "plan");
    EXPECT_EQ(Fit(std::string(30, 'a'), "", 1, false), std::string(30, 'a'));
    EXPECT_EQ(Fit(std::string(40, 'a'), "", 1, false), std::string(28, 'a') + "~1");
    EXPECT_EQ(Fit(std::string(26, 'a'), "(p0)", 1, false), std::string(26, 'a'));
    EXPECT_EQ(Fit(std::string(27, 'a'), "(p0)", 1, false), std::string(24, 'a') + "~1");
    EXPECT_EQ(Fit("plan", "", 7, true), "plan~7");
    // Exactly 30 with the tag: cut so the whole stays 30.
    EXPECT_EQ(Fit(std::string(28, 'a'), "", 12, true), std::string(27, 'a') + "~12");
    EXPECT_EQ(Fit(std::string(40, 'a'), "(p3)", 99999, true), std::string(20, 'a') + "~99999");
}

TEST(OutputNaming, PathJoinsDestinationNameSuffixAndExtension) {
    EXPECT_EQ(*OutputPath("/out/", "/in/plan.dxf", kNoPage, true, NothingExists()), "/out/plan.pdb");
    EXPECT_EQ(*OutputPath("/out", "plan.dxf", 2, true, NothingExists()), "/out/plan(p2).pdb");
    EXPECT_EQ(*OutputPath("/out/", std::string(40, 'b') + ".dxf", kNoPage, false, NothingExists()),
              "/out/" + std::string(28, 'b') + "~1.pdb");
}

TEST(OutputNaming, UniqueNamesCountUpPastExistingFiles) {
    const std::set<std::string> existing = {"/out/plan.pdb", "/out/plan~1.pdb"};
    EXPECT_EQ(*OutputPath("/out/", "plan.dxf", kNoPage, true, ExistsIn(existing)), "/out/plan~2.pdb");
    EXPECT_EQ(*OutputPath("/out/", "plan.dxf", 0, true, ExistsIn({"/out/plan(p0).pdb"})),
              "/out/plan~1(p0).pdb");
    // Without unique names the existing file is the answer: it is overwritten.
    EXPECT_EQ(*OutputPath("/out/", "plan.dxf", kNoPage, false, ExistsIn(existing)), "/out/plan.pdb");
}

TEST(OutputNaming, LongNameSkipsItsFirstTaggedNameWhenTaken) {
    const std::string base(40, 'c');
    const std::string first = "/out/" + std::string(28, 'c') + "~1.pdb";
    EXPECT_EQ(*OutputPath("/out/", base + ".dxf", kNoPage, true, ExistsIn({first})),
              "/out/" + std::string(28, 'c') + "~2.pdb");
}

TEST(OutputNaming, NoFreeNameWhenEveryCounterIsTaken) {
    const auto everything = [](const std::string&) { return true; };
    EXPECT_FALSE(OutputPath("/out/", "plan.dxf", kNoPage, true, everything).has_value());
}

}  // namespace

// The insertion graph of the BLOCKS section: cycles of any length are found,
// and a long chain of nested blocks is walked without recursion.
#include <gtest/gtest.h>

#include <string>

#include "clsBlockGraph.h"

namespace kxdxf::test {
namespace {

TEST(BlockGraph, FindsSelfInsertionsAndLongCyclesButNotChains) {
    clsBlockGraph graph;
    constexpr int kChain = 200000;
    // B0 -> B1 -> ... -> B(n-1): a chain, no cycle.
    for (int i = 0; i + 1 < kChain; ++i) {
        graph.startBlock("B" + std::to_string(i));
        graph.insert("B" + std::to_string(i + 1));
        graph.endBlock();
    }
    EXPECT_TRUE(graph.blocksInCycles().empty());
    // Closing it makes every block part of one cycle.
    graph.startBlock("B" + std::to_string(kChain - 1));
    graph.insert("B0");
    graph.endBlock();
    EXPECT_EQ(static_cast<std::size_t>(kChain), graph.blocksInCycles().size());

    graph.clear();
    graph.startBlock("SELF");
    graph.insert("SELF");
    graph.endBlock();
    graph.insert("SELF");  // outside any block: not an edge
    graph.startBlock("A");
    graph.insert("SELF");
    graph.endBlock();
    const auto cycles = graph.blocksInCycles();
    ASSERT_EQ(1u, cycles.size());
    EXPECT_EQ("SELF", cycles[0]);
}

}  // namespace
}  // namespace kxdxf::test

// Which blocks insert which, as the BLOCKS section defines them, so that a
// block that inserts itself (directly or through other blocks) is named in
// the error log. The engine skips such references when it expands them.
#ifndef KXDXF_CLSBLOCKGRAPH_H
#define KXDXF_CLSBLOCKGRAPH_H

#include <string>
#include <unordered_map>
#include <vector>

namespace kxdxf {

class clsBlockGraph {
public:
    void startBlock(const std::string& name);
    void endBlock() { current_ = -1; }
    // An INSERT read inside the block being defined.
    void insert(const std::string& name);
    // The blocks that lie on a cycle of insertions, in definition order.
    std::vector<std::string> blocksInCycles() const;
    void clear();

private:
    int node(const std::string& name);

    std::unordered_map<std::string, int> ids_;
    std::vector<std::string> names_;
    std::vector<std::vector<int>> edges_;
    int current_ = -1;
};

}  // namespace kxdxf

#endif

#include "clsBlockGraph.h"

#include <algorithm>
#include <utility>

namespace kxdxf {

int clsBlockGraph::node(const std::string& name)
{
    const auto found = ids_.find(name);
    if (found != ids_.end())
        return found->second;
    const int id = static_cast<int>(names_.size());
    ids_.emplace(name, id);
    names_.push_back(name);
    edges_.emplace_back();
    return id;
}

void clsBlockGraph::startBlock(const std::string& name)
{
    current_ = node(name);
}

void clsBlockGraph::insert(const std::string& name)
{
    if (current_ < 0)
        return;
    const int from = current_;
    const int to = node(name);
    edges_[static_cast<std::size_t>(from)].push_back(to);
}

void clsBlockGraph::clear()
{
    ids_.clear();
    names_.clear();
    edges_.clear();
    current_ = -1;
}

// Strongly connected components (Tarjan), walked with an explicit stack so
// that a file's nesting depth cannot exhaust the call stack: a block lies on
// a cycle when its component has more than one block or it inserts itself.
std::vector<std::string> clsBlockGraph::blocksInCycles() const
{
    const int count = static_cast<int>(names_.size());
    std::vector<int> index(static_cast<std::size_t>(count), -1);
    std::vector<int> low(static_cast<std::size_t>(count), 0);
    std::vector<char> onStack(static_cast<std::size_t>(count), 0);
    std::vector<char> inCycle(static_cast<std::size_t>(count), 0);
    std::vector<int> component;
    std::vector<std::pair<int, std::size_t>> walk;  // node, next edge
    int next = 0;
    for (int root = 0; root < count; ++root) {
        if (index[static_cast<std::size_t>(root)] >= 0)
            continue;
        walk.emplace_back(root, 0);
        while (!walk.empty()) {
            auto& [v, edge] = walk.back();
            const auto vi = static_cast<std::size_t>(v);
            if (edge == 0 && index[vi] < 0) {
                index[vi] = low[vi] = next++;
                component.push_back(v);
                onStack[vi] = 1;
            }
            if (edge < edges_[vi].size()) {
                const int w = edges_[vi][edge++];
                const auto wi = static_cast<std::size_t>(w);
                if (w == v)
                    inCycle[vi] = 1;
                if (index[wi] < 0)
                    walk.emplace_back(w, 0);
                else if (onStack[wi])
                    low[vi] = std::min(low[vi], index[wi]);
                continue;
            }
            if (low[vi] == index[vi]) {
                std::size_t first = component.size();
                while (component[first - 1] != v)
                    --first;
                --first;
                const bool cycle = component.size() - first > 1;
                for (std::size_t i = first; i < component.size(); ++i) {
                    const auto ci = static_cast<std::size_t>(component[i]);
                    onStack[ci] = 0;
                    if (cycle)
                        inCycle[ci] = 1;
                }
                component.resize(first);
            }
            const int done = v;
            walk.pop_back();
            if (!walk.empty()) {
                const auto parent = static_cast<std::size_t>(walk.back().first);
                low[parent] = std::min(low[parent], low[static_cast<std::size_t>(done)]);
            }
        }
    }
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) {
        if (inCycle[static_cast<std::size_t>(i)])
            out.push_back(names_[static_cast<std::size_t>(i)]);
    }
    return out;
}

}  // namespace kxdxf

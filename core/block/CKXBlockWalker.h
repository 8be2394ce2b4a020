// The insertion stack of a walk through nested block references (extents,
// drawing, clipping, explosion): a reference whose block is already being
// walked would recurse without end and is skipped, as is nesting deeper
// than any real drawing needs.
#pragma once

#include <cstddef>
#include <vector>

class CKXBlock;

class CKXBlockWalker {
public:
    static constexpr std::size_t kMaxDepth = 100;

    // False (and the reason sent to the debug output once per walk) when the
    // block is on the stack already or the stack is full.
    bool Enter(const CKXBlock& block);
    void Leave() { m_stack.pop_back(); }

    bool MetCycle() const { return m_metCycle; }

private:
    std::vector<const CKXBlock*> m_stack;
    bool m_metCycle = false;
    bool m_reported = false;
};

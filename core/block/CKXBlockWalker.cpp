#include "block/CKXBlockWalker.h"

#include <algorithm>
#include <string>

#include <kxplatform/debugapi.h>

#include "block/CKXBlock.h"

bool CKXBlockWalker::Enter(const CKXBlock& block) {
    const bool cycle = std::find(m_stack.begin(), m_stack.end(), &block) != m_stack.end();
    if (cycle || m_stack.size() >= kMaxDepth) {
        m_metCycle = true;
        if (!m_reported) {
            m_reported = true;
            const std::string line = "kxcore: block <" + block.GetName() +
                                     (cycle ? "> inserts itself; the reference is skipped\n"
                                            : "> is nested too deeply; the reference is skipped\n");
            OutputDebugStringA(line.c_str());
        }
        return false;
    }
    m_stack.push_back(&block);
    return true;
}

#include "CKXTool.h"

#include <cstdlib>

namespace {

// Movements below this (device units, in both axes) are ignored.
constexpr LONG kDragThreshold = 5;

}  // namespace

bool CKXTool::Begin(POINT point) {
    if (m_type == kNone) return false;
    m_active = true;
    m_start = m_current = point;
    m_previous = POINT{kNoPoint, kNoPoint};
    return true;
}

bool CKXTool::Drag(POINT point) {
    if (!m_active) return false;
    m_current = point;
    return true;
}

bool CKXTool::End(POINT point) {
    if (!m_active) return false;
    m_current = point;
    m_active = false;
    return true;
}

bool CKXTool::MovedEnough() const {
    return std::labs(long{m_current.x} - m_previous.x) >= kDragThreshold ||
           std::labs(long{m_current.y} - m_previous.y) >= kDragThreshold;
}

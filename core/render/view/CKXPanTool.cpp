#include "CKXPanTool.h"

#include "CKXView.h"

bool CKXPanTool::Begin(POINT point) {
    if (!CKXTool::Begin(point)) return false;
    m_previous = m_start;
    m_moved = false;
    return true;
}

bool CKXPanTool::Drag(POINT point) {
    if (!CKXTool::Drag(point)) return false;
    if (!MovedEnough()) {
        m_moved = false;
        return true;
    }
    m_moved = true;
    Act();
    m_previous = m_current;
    return true;
}

bool CKXPanTool::End(POINT point) {
    if (!CKXTool::End(point)) return false;
    const bool moved = m_moved;
    m_moved = false;
    return moved;
}

void CKXPanTool::Act() { m_view.Pan(m_current.x - m_previous.x, m_current.y - m_previous.y); }

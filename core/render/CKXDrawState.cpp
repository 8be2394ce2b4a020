#include "CKXDrawState.h"

#include <kxplatform/gdi.h>

#include "CKXAttribSet.h"

void CKXDrawState::Begin(CKXAttribTable& tables) {
    m_tables = &tables;
    tables.ResetToDefault(*m_cursor);
}

void CKXDrawState::End(HDC dc) {
    if (m_previousPen && dc) {
        SelectObject(dc, m_previousPen);
        if (m_currentPen) DeleteObject(m_currentPen);
    }
    m_previousPen = nullptr;
    m_currentPen = nullptr;
}

bool CKXDrawState::Apply(const CKXAttribSet& set, HDC dc, double weightScale, int* layerState) {
    if (!m_tables) return false;
    bool penChanged = false;
    const bool styleApplied = m_tables->Apply(*m_cursor, set, layerState, &penChanged);
    if (penChanged && dc) SelectPen(dc, weightScale);
    return styleApplied;
}

void CKXDrawState::PushState() { m_cursor->stack.push_back(m_cursor->current); }

void CKXDrawState::PopState() {
    if (m_cursor->stack.empty()) return;
    m_cursor->current = m_cursor->stack.back();
    m_cursor->stack.pop_back();
}

void CKXDrawState::SelectPen(HDC dc, double weightScale) {
    LOGPEN logical{};
    logical.lopnStyle = PS_SOLID;
    logical.lopnWidth.x = m_tables->PenWidth(Current(), weightScale);
    logical.lopnWidth.y = 0;
    logical.lopnColor = m_tables->PenColor(Current());
    HPEN pen = CreatePenIndirect(&logical);
    if (!pen) return;
    HGDIOBJ replaced = SelectObject(dc, pen);
    if (!m_previousPen) {
        m_previousPen = replaced;
    } else if (replaced) {
        DeleteObject(replaced);
    }
    m_currentPen = pen;
}

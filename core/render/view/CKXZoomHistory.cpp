#include "CKXZoomHistory.h"

void CKXZoomHistory::Push(const CFltExtents& extents) {
    m_slots[static_cast<std::size_t>(m_newest)] = extents;
    m_newest = Next(m_newest);
    if (m_newest == m_oldest) m_oldest = Next(m_oldest);
}

void CKXZoomHistory::Record(const CFltExtents& present) {
    m_newest = m_current;
    Push(present);
    m_current = m_newest;
    m_pending = true;
}

std::optional<CFltExtents> CKXZoomHistory::Backward(const CFltExtents& present) {
    if (m_pending) Push(present);
    m_pending = false;
    if (m_current == m_oldest) return std::nullopt;
    m_current = Prev(m_current);
    return m_slots[static_cast<std::size_t>(m_current)];
}

std::optional<CFltExtents> CKXZoomHistory::Forward() {
    m_pending = false;
    if (!ForwardAvailable()) return std::nullopt;
    m_current = Next(m_current);
    return m_slots[static_cast<std::size_t>(m_current)];
}

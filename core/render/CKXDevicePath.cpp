#include "CKXDevicePath.h"

#include <kxplatform/gdi.h>

#include <algorithm>
#include <cmath>

#include "KXDeviceMath.h"

bool CKXDevicePath::InRange(const KXDevPoint& p) {
    return std::fabs(p.x) <= kLimit && std::fabs(p.y) <= kLimit;
}

KXDevPoint CKXDevicePath::Clamp(const KXDevPoint& p) {
    auto clamp = [](double v) { return std::isnan(v) ? 0.0 : std::clamp(v, -kLimit, kLimit); };
    return {clamp(p.x), clamp(p.y)};
}

// Cuts the segment to the square of side 2 * kLimit, keeping its direction.
bool CKXDevicePath::ClipToRange(KXDevPoint& a, KXDevPoint& b) {
    if (std::isnan(a.x) || std::isnan(a.y) || std::isnan(b.x) || std::isnan(b.y)) return false;
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    if (!std::isfinite(dx) || !std::isfinite(dy)) {
        // Endpoints at infinity have no direction to keep.
        a = Clamp(a);
        b = Clamp(b);
        return true;
    }
    KXSegmentSpan span;
    if (!KXClipSegment(a.x, a.y, dx, dy, -kLimit, -kLimit, kLimit, kLimit, span)) return false;
    const KXDevPoint from{a.x + span.t0 * dx, a.y + span.t0 * dy};
    const KXDevPoint to{a.x + span.t1 * dx, a.y + span.t1 * dy};
    a = Clamp({std::trunc(from.x), std::trunc(from.y)});
    b = Clamp({std::trunc(to.x), std::trunc(to.y)});
    return true;
}

void CKXDevicePath::Emit(bool line, const KXDevPoint& p) {
    const int x = static_cast<int>(p.x);
    const int y = static_cast<int>(p.y);
    if (line)
        ::LineTo(m_dc, x, y);
    else
        ::MoveToEx(m_dc, x, y, nullptr);
}

void CKXDevicePath::MoveTo(const KXDevPoint& p) {
    m_current = p;
    m_synced = InRange(p);
    if (m_synced) Emit(false, p);
}

void CKXDevicePath::LineTo(const KXDevPoint& p) {
    const KXDevPoint from = m_current;
    m_current = p;
    if (InRange(from) && InRange(p)) {
        if (!m_synced) Emit(false, from);
        Emit(true, p);
        m_synced = true;
        return;
    }
    KXDevPoint a = from, b = p;
    if (!ClipToRange(a, b)) {
        m_synced = false;
        return;
    }
    if (!m_synced || a != from) Emit(false, a);
    Emit(true, b);
    m_synced = b == p;
}

void CKXDevicePath::Dot(const KXDevPoint& p) {
    if (!m_synced || m_current != p) MoveTo(p);
    if (!InRange(p)) return;
    LineTo({p.x + 1.0, p.y});
}

#include "KXPdbDeviceMap.h"

#include <kxplatform/gdi.h>

#include <algorithm>

#include "CKXPdbDrawing.h"

namespace {

constexpr double kMinWorldSize = 1e-6;

bool InRange(const KXPdbDevPoint& p) {
    return std::fabs(p.x) <= CKXPdbDevicePath::kLimit && std::fabs(p.y) <= CKXPdbDevicePath::kLimit;
}

// Cuts a..b to the safe square (Liang-Barsky); false when nothing is left.
bool ClipToRange(KXPdbDevPoint& a, KXPdbDevPoint& b) {
    const double lim = CKXPdbDevicePath::kLimit;
    const double dx = b.x - a.x, dy = b.y - a.y;
    if (!std::isfinite(dx) || !std::isfinite(dy)) return false;
    double t0 = 0.0, t1 = 1.0;
    const auto edge = [&](double p, double q) {
        if (p == 0.0) return q >= 0.0;
        const double r = q / p;
        if (p < 0.0) {
            if (r > t1) return false;
            t0 = std::max(t0, r);
        } else {
            if (r < t0) return false;
            t1 = std::min(t1, r);
        }
        return true;
    };
    if (!(edge(-dx, a.x + lim) && edge(dx, lim - a.x) && edge(-dy, a.y + lim) && edge(dy, lim - a.y))) return false;
    const KXPdbDevPoint from{std::trunc(a.x + t0 * dx), std::trunc(a.y + t0 * dy)};
    b = {std::trunc(a.x + t1 * dx), std::trunc(a.y + t1 * dy)};
    a = from;
    return true;
}

}  // namespace

bool KXPdbDeviceMap::Fit(const KXPdbDrawingInfo& info, const RECT& device, double xmin, double ymin, double xmax,
                         double ymax) {
    const double deviceWidth = static_cast<double>(device.right) - device.left;
    const double deviceHeight = static_cast<double>(device.bottom) - device.top;
    const double worldWidth = xmax - xmin, worldHeight = ymax - ymin;
    if (deviceWidth < 1.0 || deviceHeight < 1.0) return false;
    if (!(worldWidth >= kMinWorldSize) || !(worldHeight >= kMinWorldSize)) return false;
    m_scale = std::min(deviceWidth / worldWidth, deviceHeight / worldHeight);
    if (!(m_scale > 0.0) || !std::isfinite(m_scale)) return false;
    // The window keeps its lower-left corner and grows to fill the device.
    xmax = xmin + deviceWidth / m_scale;
    ymax = ymin + deviceHeight / m_scale;
    const double s = info.resolution;
    m_unit = m_scale / s;
    m_offsetX = (info.minX - xmin) * m_scale + device.left;
    m_offsetY = device.bottom - (info.minY - ymin) * m_scale;
    m_boxLeft = (xmin - info.minX) * s;
    m_boxRight = (xmax - info.minX) * s;
    m_boxBottom = (ymin - info.minY) * s;
    m_boxTop = (ymax - info.minY) * s;
    return std::isfinite(m_unit) && std::isfinite(m_offsetX) && std::isfinite(m_offsetY);
}

void CKXPdbDevicePath::MoveTo(const KXPdbDevPoint& p) {
    m_current = p;
    m_synced = InRange(p);
    if (m_synced) ::MoveToEx(m_dc, static_cast<int>(p.x), static_cast<int>(p.y), nullptr);
}

void CKXPdbDevicePath::LineTo(const KXPdbDevPoint& p) {
    const KXPdbDevPoint from = m_current;
    KXPdbDevPoint a = from, b = p;
    m_current = p;
    if (!(InRange(a) && InRange(b)) && !ClipToRange(a, b)) {
        m_synced = false;
        return;
    }
    if (!m_synced || a != from) ::MoveToEx(m_dc, static_cast<int>(a.x), static_cast<int>(a.y), nullptr);
    ::LineTo(m_dc, static_cast<int>(b.x), static_cast<int>(b.y));
    m_synced = b == p;
}

void CKXPdbDevicePath::Dot(const KXPdbDevPoint& p) {
    if (!InRange(p)) return;
    MoveTo(p);
    LineTo({p.x + 1.0, p.y});
}

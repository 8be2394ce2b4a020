// Where the integer drawing coordinates of a file land on a device: the
// window (document units) is fitted into the device rectangle with one
// scale for both axes, growing to the right or upward as the engine's
// renderer does, and a point of the drawing box at (q - origin) / resolution
// + minimum maps to truncated device units. Device segments are clipped to
// a safe range before they reach the device context.
#pragma once

#include <kxplatform/wintypes.h>

#include <cmath>
#include <cstdint>

struct KXPdbDrawingInfo;

struct KXPdbDevPoint {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const KXPdbDevPoint& a, const KXPdbDevPoint& b) { return a.x == b.x && a.y == b.y; }
    friend bool operator!=(const KXPdbDevPoint& a, const KXPdbDevPoint& b) { return !(a == b); }
};

class KXPdbDeviceMap {
public:
    // False when the rectangle or the window is too small to show.
    bool Fit(const KXPdbDrawingInfo& info, const RECT& device, double xmin, double ymin, double xmax, double ymax);

    // Device units per document unit.
    double Scale() const { return m_scale; }
    // Device units per integer unit of the drawing box.
    double UnitScale() const { return m_unit; }
    // The window in integer units of the drawing box.
    double BoxLeft() const { return m_boxLeft; }
    double BoxBottom() const { return m_boxBottom; }
    double BoxRight() const { return m_boxRight; }
    double BoxTop() const { return m_boxTop; }

    // A point of the drawing box (integer units, as doubles for offsets).
    KXPdbDevPoint Map(double qx, double qy) const {
        return {std::trunc(qx * m_unit + m_offsetX), std::trunc(m_offsetY - qy * m_unit)};
    }

private:
    double m_scale = 0.0;
    double m_unit = 0.0;
    double m_offsetX = 0.0;
    double m_offsetY = 0.0;
    double m_boxLeft = 0.0, m_boxBottom = 0.0, m_boxRight = 0.0, m_boxTop = 0.0;
};

// MoveToEx/LineTo in device units with segments cut to +-2^30, and the
// one-unit dash that shows a single point.
class CKXPdbDevicePath {
public:
    static constexpr double kLimit = 1073741824.0;

    explicit CKXPdbDevicePath(HDC dc) : m_dc(dc) {}
    void MoveTo(const KXPdbDevPoint& p);
    void LineTo(const KXPdbDevPoint& p);
    void Dot(const KXPdbDevPoint& p);
    const KXPdbDevPoint& Current() const { return m_current; }

private:
    HDC m_dc;
    KXPdbDevPoint m_current;
    bool m_synced = false;  // the device's current position is m_current
};

// Nearest integer, ties toward zero.
inline double KXPdbRoundHalfToZero(double v) {
    return v >= 0.0 ? std::ceil(v - 0.5) : std::floor(v + 0.5);
}

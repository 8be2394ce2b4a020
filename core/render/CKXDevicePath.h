// The last step before GDI: straight segments in device coordinates held as
// doubles, sent on as MoveToEx/LineTo. Coordinates that fit the safe device
// range pass through unchanged (callers round them to whole units first);
// a segment reaching beyond it is clipped to the range so that no device
// coordinate ever overflows 32 bits and the visible part keeps its direction.
#pragma once

#include <kxplatform/wintypes.h>

struct KXDevPoint {
    double x = 0.0;
    double y = 0.0;

    friend bool operator==(const KXDevPoint& a, const KXDevPoint& b) { return a.x == b.x && a.y == b.y; }
    friend bool operator!=(const KXDevPoint& a, const KXDevPoint& b) { return !(a == b); }
};

class CKXDevicePath {
public:
    // Device coordinates stay within +-kLimit: far beyond any real device,
    // and still leaving room for the one-unit offsets of dots.
    static constexpr double kLimit = 1073741824.0;  // 2^30

    explicit CKXDevicePath(HDC dc) : m_dc(dc) {}

    static bool InRange(const KXDevPoint& p);
    // Clips a..b to the safe range; false when nothing of it is inside.
    static bool ClipToRange(KXDevPoint& a, KXDevPoint& b);
    static KXDevPoint Clamp(const KXDevPoint& p);

    void MoveTo(const KXDevPoint& p);
    void LineTo(const KXDevPoint& p);
    // The one-unit dash GDI needs to show a single point: LineTo(x + 1, y).
    void Dot(const KXDevPoint& p);
    const KXDevPoint& Current() const { return m_current; }
    // True when the device's current position is p.
    bool IsAt(const KXDevPoint& p) const { return m_synced && m_current == p; }

private:
    void Emit(bool line, const KXDevPoint& p);

    HDC m_dc;
    KXDevPoint m_current;
    // The device's current position is m_current (false after a move or a
    // line that ended outside the safe range).
    bool m_synced = false;
};

#include "CKXConverter.h"

#include <cmath>

void CKXConverter::SetWindow(const CFltExtents& window) {
    m_window = window;
    m_valid = 0;
    const double width = m_window.Width();
    const double height = m_window.Height();
    if (width != 0.0 && height != 0.0) return;
    if (width > 0.0) {
        m_window.ymin -= width / 2.0;
        m_window.ymax += width / 2.0;
    } else if (height > 0.0) {
        m_window.xmin -= height / 2.0;
        m_window.xmax += height / 2.0;
    } else {
        m_window.xmin -= 1.0;
        m_window.ymin -= 1.0;
        m_window.xmax += 1.0;
        m_window.ymax += 1.0;
    }
}

void CKXConverter::SetDeviceRect(const RECT& rect) {
    m_rect = rect;
    m_valid = 0;
}

bool CKXConverter::Validate() {
    if (m_valid) return true;
    const double deviceWidth = static_cast<double>(m_rect.right) - m_rect.left;
    const double deviceHeight = static_cast<double>(m_rect.bottom) - m_rect.top;
    if (deviceWidth < 1.0 || deviceHeight < 1.0) return false;
    const double worldWidth = m_window.Width();
    const double worldHeight = m_window.Height();
    if (!(worldWidth >= kMinWorldSize) || !(worldHeight >= kMinWorldSize)) return false;
    if (!std::isfinite(worldWidth) || !std::isfinite(worldHeight)) return false;
    double scaleX = deviceWidth / worldWidth;
    double scaleY = deviceHeight / worldHeight;
    if (!(scaleX > 0.0) || !(scaleY > 0.0) || !std::isfinite(scaleX) || !std::isfinite(scaleY))
        return false;
    // One scale for both axes: the smaller wins and the window grows on the
    // other axis, to the right or upward, its lower-left corner fixed.
    if (scaleY < scaleX) {
        m_window.xmax = m_window.xmin + deviceWidth / scaleY;
        scaleX = scaleY;
    } else {
        m_window.ymax = m_window.ymin + deviceHeight / scaleX;
        scaleY = scaleX;
    }
    m_scaleX = scaleX;
    m_scaleY = scaleY;
    m_walker.SetDeviceRect(m_rect);
    m_walker.Rescale(m_scaleX * m_lineStyleScale);
    m_valid = 1;
    return true;
}

KXDevPoint CKXConverter::WindowToDevice(double x, double y) const {
    return {std::trunc((x - m_window.xmin) * m_scaleX + m_rect.left),
            std::trunc(m_rect.bottom - (y - m_window.ymin) * m_scaleY)};
}

KXDevPoint CKXConverter::ToDeviceExact(const CFltPoint& p) const {
    double x = p.x, y = p.y;
    m_transform.Apply(x, y);
    return WindowToDevice(x, y);
}

bool CKXConverter::ToDevice(const CFltPoint* in, POINT* out, int n) const {
    if (!m_valid || in == nullptr || out == nullptr || n <= 0) return false;
    for (int i = 0; i < n; ++i) {
        const KXDevPoint d = CKXDevicePath::Clamp(ToDeviceExact(in[i]));
        out[i] = POINT{static_cast<LONG>(d.x), static_cast<LONG>(d.y)};
    }
    return true;
}

bool CKXConverter::ToWorld(const POINT* in, CFltPoint* out, int n) const {
    if (!m_valid || in == nullptr || out == nullptr || n <= 0) return false;
    // The inverse of the transform's linear part, for points coming back
    // from the device (a plain identity on the usual untransformed context).
    const double* m = m_transform.m;
    const double det = m[0] * m[4] - m[1] * m[3];
    const bool invertible = !m_transform.IsIdentity() && det != 0.0 && std::isfinite(det);
    for (int i = 0; i < n; ++i) {
        double x = (in[i].x - m_rect.left) / m_scaleX + m_window.xmin;
        double y = m_window.ymin - (in[i].y - m_rect.bottom) / m_scaleY;
        if (invertible) {
            const double tx = x - m[2], ty = y - m[5];
            x = (m[4] * tx - m[1] * ty) / det;
            y = (m[0] * ty - m[3] * tx) / det;
        }
        out[i] = CFltPoint{x, y};
    }
    return true;
}

void CKXConverter::SetLineStyle(KXLineStyleExt* style, double lineStyleScale) {
    m_lineStyleScale = lineStyleScale;
    m_walker.SetLineStyle(style, m_scaleX * lineStyleScale);
}

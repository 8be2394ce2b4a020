#include "CKXZoomBoxTool.h"

#include <algorithm>
#include <cstdlib>

#include "CKXView.h"

namespace {

// Boxes this small in either axis (device units) are not zoomed to.
constexpr long kSmallBox = 4;

}  // namespace

bool CKXZoomBoxTool::LargeEnough() const {
    return std::labs(long{m_start.x} - m_current.x) > kSmallBox &&
           std::labs(long{m_start.y} - m_current.y) > kSmallBox;
}

void CKXZoomBoxTool::DrawBand(POINT corner) {
    const RECT band{std::min(m_start.x, corner.x), std::min(m_start.y, corner.y),
                    std::max(m_start.x, corner.x), std::max(m_start.y, corner.y)};
    m_view.DrawFocus(band);
}

bool CKXZoomBoxTool::Drag(POINT point) {
    if (!CKXTool::Drag(point)) return false;
    if (!LargeEnough()) return true;
    if (m_banded) DrawBand(m_previous);
    DrawBand(m_current);
    m_banded = true;
    m_previous = m_current;
    return true;
}

bool CKXZoomBoxTool::End(POINT point) {
    if (!CKXTool::End(point)) return false;
    const bool banded = m_banded;
    if (banded) DrawBand(m_previous);
    m_banded = false;
    if (LargeEnough() && banded) m_view.ZoomToDevice(m_start, m_previous);
    return true;
}

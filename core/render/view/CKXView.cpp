#include "CKXView.h"

#include <kxplatform/debugapi.h>
#include <kxplatform/gdi.h>
#include <kxplatform/winuser.h>

#include <algorithm>
#include <cstdlib>

#include "CKXDoc.h"
#include "CKXPanTool.h"
#include "CKXZoomBoxTool.h"
#include "CKXZoomDynamicTool.h"
#include "KXViewNavigation.h"
#include "render/CKXConverter.h"
#include "render/CKXDocRenderer.h"

CKXView::~CKXView() { Release(); }

void CKXView::Zoom(double factor) {
    if (!CanZoom() || !(factor > 0.0)) return;
    m_history.Record(m_extents);
    const double cx = (m_extents.xmin + m_extents.xmax) / 2.0;
    const double cy = (m_extents.ymin + m_extents.ymax) / 2.0;
    const double hw = m_extents.Width() / 2.0 / factor;
    const double hh = m_extents.Height() / 2.0 / factor;
    m_extents = CFltExtents(cx - hw, cy - hh, cx + hw, cy + hh);
    Repaint(false);
}

void CKXView::ZoomAll() {
    if (!m_doc) return;
    m_history.Record(m_extents);
    m_extents = m_doc->GetExtents();
    Repaint(false);
}

void CKXView::ZoomTo(const CFltExtents& box) {
    if (!m_doc) return;
    m_history.Record(m_extents);
    m_extents = box;
    Repaint(false);
}

void CKXView::Navigate(bool backward, std::optional<CFltExtents> reached) {
    if (reached && reached->IsValid()) {
        m_extents = *reached;
        Repaint(true);
    }
    std::optional<double> ratio;
    if (reached) ratio = ZoomRatio(*reached);
    OutputDebugStringA(kxview::NavigationLine(backward, ratio).c_str());
}

void CKXView::Backward() { Navigate(true, m_history.Backward(m_extents)); }

void CKXView::Forward() { Navigate(false, m_history.Forward()); }

void CKXView::JumpTo(const CKXBookmark& mark) {
    if (!kxview::SameZoom(ZoomRatio(m_extents), ZoomRatio(mark.extents))) m_history.Record(m_extents);
    m_extents = mark.extents;
    Repaint(true);
}

double CKXView::ZoomRatio(const CFltExtents& extents) const {
    int width = 0, height = 0;
    ClientSize(width, height);
    if (!m_doc || width == 0 || height == 0) return 1.0;
    return kxview::ZoomRatio(extents, m_doc->GetExtents(), width, height);
}

void CKXView::SetClientSize(int width, int height) {
    m_clientWidth = width;
    m_clientHeight = height;
}

void CKXView::DrawDC(HDC dc, RECT& rect) {
    if (!m_doc) return;
    CKXDocRenderer(*m_doc).DrawView(dc, rect, m_extents, m_drawState);
}

namespace {

// The left-button tool type, one for all views.
int g_selectedTool = CKXTool::kNone;

// Arrow keys move the extents by this fraction (single precision).
constexpr float kArrowStep = 0.1f;
constexpr double kKeyZoom = 2.0;
// Wheel: the delta's notches (120) become a vertical drag of 12 units.
constexpr std::int64_t kWheelNotch = 120;
constexpr std::int64_t kWheelDivisor = 20;
constexpr int kWheelShift = 8;

std::unique_ptr<CKXTool> MakeTool(CKXView& view, int type) {
    switch (type) {
    case CKXTool::kPan: return std::make_unique<CKXPanTool>(view);
    case CKXTool::kZoomBox: return std::make_unique<CKXZoomBoxTool>(view);
    case CKXTool::kZoomDynamic: return std::make_unique<CKXZoomDynamicTool>(view);
    default: return nullptr;
    }
}

}  // namespace

bool CKXView::DeviceContext(CKXConverter& rc) const {
    if (!m_doc) return false;
    int width = 0, height = 0;
    ClientSize(width, height);
    rc.SetDeviceRect(RECT{1, 1, width - 1, height - 1});
    rc.SetWindow(m_extents);
    return rc.Validate();
}

void CKXView::Pan(LONG dx, LONG dy) {
    CKXConverter rc;
    if (!DeviceContext(rc)) return;
    const POINT device[2] = {{0, 0}, {dx, dy}};
    CFltPoint world[2];
    if (!rc.ToWorld(device, world, 2)) return;
    const double mx = world[0].x - world[1].x, my = world[0].y - world[1].y;
    m_extents = CFltExtents(m_extents.xmin + mx, m_extents.ymin + my, m_extents.xmax + mx, m_extents.ymax + my);
    Repaint(false);
}

void CKXView::ZoomToDevice(POINT a, POINT b) {
    CKXConverter rc;
    if (!DeviceContext(rc)) return;
    const POINT device[2] = {a, b};
    CFltPoint world[2];
    if (!rc.ToWorld(device, world, 2)) return;
    ZoomTo(CFltExtents(std::min(world[0].x, world[1].x), std::min(world[0].y, world[1].y),
                       std::max(world[0].x, world[1].x), std::max(world[0].y, world[1].y)));
}

void CKXView::DrawFocus(const RECT& rect) {
    if (m_surface) {
        DrawFocusRect(m_surface, &rect);
    } else if (HDC dc = m_window ? GetDC(m_window) : nullptr) {
        DrawFocusRect(dc, &rect);
        ReleaseDC(m_window, dc);
    }
}

int CKXView::SelectedTool() { return g_selectedTool; }

void CKXView::CreateTool(int type) {
    g_selectedTool = type;
    m_tool = MakeTool(*this, type);
}

void CKXView::ReplaceTool(int type) { m_tool = MakeTool(*this, type); }

void CKXView::LeftButtonDown(POINT point) {
    if (!m_tool) return;
    if (m_tool->GetType() != g_selectedTool) ReplaceTool(g_selectedTool);
    if (m_tool) m_tool->Begin(point);
}

void CKXView::MiddleButtonDown(POINT point) {
    ReplaceTool(CKXTool::kPan);
    m_tool->Begin(point);
}

void CKXView::MouseMove(POINT point) {
    if (m_tool && m_tool->IsActive()) m_tool->Drag(point);
}

void CKXView::ButtonUp(POINT point) {
    if (m_tool && m_tool->IsActive()) m_tool->End(point);
}

void CKXView::Wheel(std::uint32_t wparam) {
    const auto w = static_cast<std::int32_t>(wparam);
    const std::int64_t magnitude = (std::llabs(std::int64_t{w}) >> kWheelShift) / kWheelNotch / kWheelDivisor;
    const auto s = static_cast<LONG>(w > 0 ? -magnitude : magnitude);
    ReplaceTool(CKXTool::kZoomDynamic);
    m_tool->Begin(POINT{0, 0});
    m_tool->Drag(POINT{0, s});
    m_tool->End(POINT{0, s});
}

void CKXView::Key(int virtualKey) {
    if (!m_doc) return;
    const double dx = kArrowStep * m_extents.Width(), dy = kArrowStep * m_extents.Height();
    const auto shift = [this](double x, double y) {
        m_extents = CFltExtents(m_extents.xmin + x, m_extents.ymin + y, m_extents.xmax + x, m_extents.ymax + y);
    };
    switch (virtualKey) {
    case VK_LEFT: shift(dx, 0); break;
    case VK_RIGHT: shift(-dx, 0); break;
    case VK_UP: shift(0, -dy); break;
    case VK_DOWN: shift(0, dy); break;
    case 'X':
    case VK_ADD: Zoom(kKeyZoom); break;
    case 'Z':
    case VK_SUBTRACT: Zoom(1.0 / kKeyZoom); break;
    default: return;
    }
    Repaint(false);
}

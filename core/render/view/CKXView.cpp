#include "CKXView.h"

#include <kxplatform/debugapi.h>

#include "CKXDoc.h"
#include "KXViewNavigation.h"
#include "render/CKXDocRenderer.h"

CKXView::~CKXView() {
    if (m_deleteDoc) delete m_doc;
}

void CKXView::Zoom(double factor) {
    if (!CanZoom() || !(factor > 0.0)) return;
    m_history.Record(m_extents);
    const double cx = (m_extents.xmin + m_extents.xmax) / 2.0;
    const double cy = (m_extents.ymin + m_extents.ymax) / 2.0;
    const double hw = m_extents.Width() / 2.0 / factor;
    const double hh = m_extents.Height() / 2.0 / factor;
    m_extents = CFltExtents(cx - hw, cy - hh, cx + hw, cy + hh);
}

void CKXView::ZoomAll() {
    if (!m_doc) return;
    m_history.Record(m_extents);
    m_extents = m_doc->GetExtents();
}

void CKXView::ZoomTo(const CFltExtents& box) {
    if (!m_doc) return;
    m_history.Record(m_extents);
    m_extents = box;
}

void CKXView::Navigate(bool backward, std::optional<CFltExtents> reached) {
    if (reached && reached->IsValid()) m_extents = *reached;
    std::optional<double> ratio;
    if (reached) ratio = ZoomRatio(*reached);
    OutputDebugStringA(kxview::NavigationLine(backward, ratio).c_str());
}

void CKXView::Backward() { Navigate(true, m_history.Backward(m_extents)); }

void CKXView::Forward() { Navigate(false, m_history.Forward()); }

void CKXView::JumpTo(const CKXBookmark& mark) {
    if (!kxview::SameZoom(ZoomRatio(m_extents), ZoomRatio(mark.extents))) m_history.Record(m_extents);
    m_extents = mark.extents;
}

double CKXView::ZoomRatio(const CFltExtents& extents) const {
    if (!m_doc || m_clientWidth == 0 || m_clientHeight == 0) return 1.0;
    return kxview::ZoomRatio(extents, m_doc->GetExtents(), m_clientWidth, m_clientHeight);
}

void CKXView::SetClientSize(int width, int height) {
    m_clientWidth = width;
    m_clientHeight = height;
}

void CKXView::DrawDC(HDC dc, RECT& rect) {
    if (!m_doc) return;
    CKXDocRenderer(*m_doc).DrawView(dc, rect, m_extents, m_drawState);
}

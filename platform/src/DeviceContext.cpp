#include "DeviceContext.h"

namespace kxplatform {

DeviceContext::DeviceContext() : m_pen(GdiObject::StockPen()) {
    m_pen->AddSelection();
}

DeviceContext::~DeviceContext() {
    // The pen stays with its owner; it only stops being in use here.
    m_pen->RemoveSelection();
    m_magic = 0;
}

DeviceContext* DeviceContext::FromHandle(HDC handle) {
    auto* dc = reinterpret_cast<DeviceContext*>(handle);
    if (dc == nullptr || dc->m_magic != kMagic) return nullptr;
    return dc;
}

GdiObject* DeviceContext::SelectPen(GdiObject& pen) {
    GdiObject* previous = m_pen;
    const bool changed = previous != &pen;
    if (changed) {
        pen.AddSelection();
        previous->RemoveSelection();
        m_pen = &pen;
    }
    OnSelectPen(pen, changed);
    return previous;
}

COLORREF DeviceContext::SetBackground(COLORREF color) {
    const COLORREF previous = m_background;
    m_background = color & 0x00FFFFFFu;
    OnSetBackground(m_background);
    return previous;
}

POINT DeviceContext::MoveTo(POINT to) {
    const POINT previous = m_position;
    m_position = to;
    OnMoveTo(to);
    return previous;
}

void DeviceContext::LineTo(POINT to) {
    const POINT from = m_position;
    m_position = to;
    OnLineTo(from, to);
}

bool DeviceContext::Save(const std::string&) const {
    return false;
}

void DeviceContext::OnSelectPen(const GdiObject&, bool) {}
void DeviceContext::OnSetBackground(COLORREF) {}
void DeviceContext::OnMoveTo(POINT) {}
void DeviceContext::OnFill(const RECT&, COLORREF) {}
void DeviceContext::OnFocusRect(const RECT&) {}

}  // namespace kxplatform

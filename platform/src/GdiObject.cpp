#include "GdiObject.h"

#include <atomic>
#include <new>

namespace kxplatform {

namespace {
std::atomic<int> g_liveObjects{0};
}

GdiObject::~GdiObject() {
    m_magic = 0;
}

GdiObject* GdiObject::NewPen(const LOGPEN& pen) {
    auto* object = new (std::nothrow) GdiObject(Kind::Pen, false);
    if (object == nullptr) return nullptr;
    object->m_pen = pen;
    ++g_liveObjects;
    return object;
}

GdiObject* GdiObject::NewBrush(COLORREF color) {
    auto* object = new (std::nothrow) GdiObject(Kind::Brush, false);
    if (object == nullptr) return nullptr;
    object->m_brushColor = color & 0x00FFFFFFu;
    ++g_liveObjects;
    return object;
}

GdiObject* GdiObject::StockPen() {
    // Immutable after construction and never freed, like GDI's stock objects.
    static GdiObject stock(Kind::Pen, true);
    return &stock;
}

GdiObject* GdiObject::FromHandle(HGDIOBJ handle) {
    auto* object = reinterpret_cast<GdiObject*>(handle);
    if (object == nullptr || object->m_magic != kMagic) return nullptr;
    return object;
}

int GdiObject::LiveCount() {
    return g_liveObjects.load();
}

bool GdiObject::Delete(GdiObject* object) {
    if (object == nullptr) return false;
    if (object->m_stock) return true;
    if (object->IsSelected()) return false;
    delete object;
    --g_liveObjects;
    return true;
}

}  // namespace kxplatform

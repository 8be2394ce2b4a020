// A pen or a brush behind an HGDIOBJ handle. Objects know how many device
// contexts hold them selected so that a selected pen is never freed under a
// context that still draws with it.
#pragma once

#include <kxplatform/gdi.h>

#include <cstdint>

namespace kxplatform {

class GdiObject {
public:
    enum class Kind { Pen, Brush };

    static GdiObject* NewPen(const LOGPEN& pen);
    static GdiObject* NewBrush(COLORREF color);
    // The pen every context holds before anything is selected into it.
    static GdiObject* StockPen();
    // Null for a null or foreign handle.
    static GdiObject* FromHandle(HGDIOBJ handle);
    // Live pens and brushes made by NewPen/NewBrush (stock objects excluded).
    static int LiveCount();

    HGDIOBJ Handle() { return reinterpret_cast<HGDIOBJ>(this); }
    Kind GetKind() const { return m_kind; }
    const LOGPEN& Pen() const { return m_pen; }
    COLORREF Color() const { return m_kind == Kind::Pen ? m_pen.lopnColor : m_brushColor; }
    // Device width of a pen: GDI draws widths 0 and 1 as one pixel.
    int Width() const { return m_pen.lopnWidth.x > 1 ? static_cast<int>(m_pen.lopnWidth.x) : 1; }
    bool IsStock() const { return m_stock; }

    void AddSelection() { ++m_selections; }
    void RemoveSelection() {
        if (m_selections > 0) --m_selections;
    }
    bool IsSelected() const { return m_selections > 0; }

    // Frees the object; stock objects stay. False while still selected.
    static bool Delete(GdiObject* object);

private:
    GdiObject(Kind kind, bool stock) : m_kind(kind), m_stock(stock) {}
    ~GdiObject();

    static constexpr std::uint32_t kMagic = 0x4B584F42;  // "KXOB"
    std::uint32_t m_magic = kMagic;
    Kind m_kind;
    bool m_stock;
    int m_selections = 0;
    LOGPEN m_pen{PS_SOLID, {0, 0}, 0};
    COLORREF m_brushColor = 0;
};

}  // namespace kxplatform

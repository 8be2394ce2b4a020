// The state every device context keeps (selected pen, current position,
// background colour) and the hooks through which a backend draws. An HDC
// handle is a pointer to one of these.
#pragma once

#include <kxplatform/gdi.h>

#include <cstdint>
#include <string>

#include "GdiObject.h"

namespace kxplatform {

class DeviceContext {
public:
    DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;
    virtual ~DeviceContext();

    // Null for a null or foreign handle.
    static DeviceContext* FromHandle(HDC handle);
    HDC Handle() { return reinterpret_cast<HDC>(this); }

    // Returns the object it replaces.
    GdiObject* SelectPen(GdiObject& pen);
    COLORREF SetBackground(COLORREF color);
    POINT MoveTo(POINT to);
    void LineTo(POINT to);
    void Fill(const RECT& rect, COLORREF color) { OnFill(rect, color); }
    void FocusRect(const RECT& rect) { OnFocusRect(rect); }

    // Writes the picture to a file; false for contexts without one.
    virtual bool Save(const std::string& path) const;

protected:
    const GdiObject& CurrentPen() const { return *m_pen; }
    COLORREF Background() const { return m_background; }

    virtual void OnSelectPen(const GdiObject& pen, bool changed);
    virtual void OnSetBackground(COLORREF color);
    virtual void OnMoveTo(POINT to);
    // A segment from..to, last pixel excluded, with the current pen.
    virtual void OnLineTo(POINT from, POINT to) = 0;
    virtual void OnFill(const RECT& rect, COLORREF color);
    virtual void OnFocusRect(const RECT& rect);

private:
    static constexpr std::uint32_t kMagic = 0x4B584443;  // "KXDC"
    std::uint32_t m_magic = kMagic;
    GdiObject* m_pen;
    POINT m_position{0, 0};
    COLORREF m_background = 0x00FFFFFF;
};

}  // namespace kxplatform

// A device context that writes SVG: one path per run of drawing with one
// pen, coordinates exactly the device coordinates the engine computed.
#include <kxplatform/dc.h>

#include <cstdio>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "DeviceContext.h"

namespace kxplatform {

namespace {

std::string HexColor(COLORREF color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", GetRValue(color), GetGValue(color),
                  GetBValue(color));
    return text;
}

class SvgDC final : public DeviceContext {
public:
    SvgDC(int width, int height, COLORREF background)
        : m_width(width), m_height(height), m_canvas(background) {}

    bool Save(const std::string& path) const override {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << m_width << "\" height=\""
            << m_height << "\" viewBox=\"0 0 " << m_width << ' ' << m_height << "\">\n"
            << "<rect width=\"100%\" height=\"100%\" fill=\"" << HexColor(m_canvas) << "\"/>\n"
            // Device coordinates name pixels; the half-unit shift puts the
            // strokes on pixel centres as the raster context draws them.
            << "<g transform=\"translate(0.5 0.5)\" fill=\"none\" stroke-linecap=\"round\" "
               "stroke-linejoin=\"round\">\n";
        for (const std::string& element : m_elements) out << element << '\n';
        if (!m_path.empty()) out << PathElement() << '\n';
        out << "</g>\n</svg>\n";
        out.flush();
        return static_cast<bool>(out);
    }

private:
    void OnSelectPen(const GdiObject& pen, bool) override {
        if (m_pathOpen && pen.Color() == m_pathColor && pen.Width() == m_pathWidth &&
            pen.Pen().lopnStyle == m_pathStyle)
            return;
        FlushPath();
    }

    void OnMoveTo(POINT) override { m_moved = true; }

    void OnLineTo(POINT from, POINT to) override {
        const GdiObject& pen = CurrentPen();
        if (pen.Pen().lopnStyle == PS_NULL) return;
        // GDI draws nothing here; a round-capped SVG segment of no length
        // would show a dot. The next segment still starts from here.
        if (from.x == to.x && from.y == to.y) return;
        if (!m_pathOpen) {
            m_pathOpen = true;
            m_pathColor = pen.Color();
            m_pathWidth = pen.Width();
            m_pathStyle = pen.Pen().lopnStyle;
            m_moved = true;
        }
        if (m_moved || !(from.x == m_last.x && from.y == m_last.y)) AppendPoint('M', from);
        AppendPoint('L', to);
        m_last = to;
        m_moved = false;
    }

    void OnFill(const RECT& rect, COLORREF color) override {
        if (rect.right <= rect.left || rect.bottom <= rect.top) return;
        FlushPath();
        m_elements.push_back("<rect x=\"" + std::to_string(rect.left) + "\" y=\"" +
                             std::to_string(rect.top) + "\" width=\"" +
                             std::to_string(long{rect.right} - rect.left) + "\" height=\"" +
                             std::to_string(long{rect.bottom} - rect.top) + "\" fill=\"" +
                             HexColor(color) + "\" stroke=\"none\" transform=\"translate(-0.5 -0.5)\"/>");
    }

    void OnFocusRect(const RECT& rect) override {
        if (rect.right <= rect.left || rect.bottom <= rect.top) return;
        FlushPath();
        m_elements.push_back("<rect x=\"" + std::to_string(rect.left) + "\" y=\"" +
                             std::to_string(rect.top) + "\" width=\"" +
                             std::to_string(long{rect.right} - rect.left - 1) + "\" height=\"" +
                             std::to_string(long{rect.bottom} - rect.top - 1) +
                             "\" stroke=\"#808080\" stroke-dasharray=\"1 1\"/>");
    }

    void AppendPoint(char command, POINT p) {
        if (!m_path.empty()) m_path += ' ';
        m_path += command;
        m_path += std::to_string(p.x);
        m_path += ' ';
        m_path += std::to_string(p.y);
    }

    std::string PathElement() const {
        return "<path stroke=\"" + HexColor(m_pathColor) + "\" stroke-width=\"" +
               std::to_string(m_pathWidth) + "\" d=\"" + m_path + "\"/>";
    }

    void FlushPath() {
        if (!m_path.empty()) m_elements.push_back(PathElement());
        m_path.clear();
        m_pathOpen = false;
        m_moved = true;
    }

    int m_width;
    int m_height;
    COLORREF m_canvas;
    std::vector<std::string> m_elements;
    std::string m_path;
    bool m_pathOpen = false;
    bool m_moved = true;
    POINT m_last{0, 0};
    COLORREF m_pathColor = 0;
    int m_pathWidth = 1;
    UINT m_pathStyle = PS_SOLID;
};

}  // namespace

}  // namespace kxplatform

HDC KXCreateSvgDC(int width, int height, COLORREF background) {
    if (width < 1 || height < 1) return nullptr;
    auto* dc = new (std::nothrow) kxplatform::SvgDC(width, height, background);
    return dc != nullptr ? dc->Handle() : nullptr;
}

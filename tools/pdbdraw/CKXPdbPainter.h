// Draws a drawing file into a device context: finds the entities of the
// window through the tile map, follows the attribute sets (pens, layer
// visibility, line styles) and the block marker groups in file order, and
// draws lines, dash pieces, polylines, curves and text lines as the
// engine's renderer draws the same document.
#pragma once

#include <kxplatform/wintypes.h>

#include <cstdint>
#include <vector>

#include "CKXPdbDashWalker.h"
#include "KXPdbDeviceMap.h"
#include "KXPdbTables.h"

class CKXPdbDrawing;
struct KXPdbEntity;

class CKXPdbPainter {
public:
    // Display mode bits understood (the engine's values).
    static constexpr int kNoText = 1;
    static constexpr int kNoLineStyles = 2;
    static constexpr int kNoLineWeights = 4;
    static constexpr int kMonochrome = 32;

    explicit CKXPdbPainter(const CKXPdbDrawing& drawing) : m_drawing(drawing) {}

    void SetDisplayMode(int mode) { m_mode = mode; }
    void SetBackground(COLORREF colour) { m_background = colour; }
    // Draws the window (document units) into the device rectangle; false
    // when either is too small to show.
    bool Draw(HDC dc, const RECT& device, double xmin, double ymin, double xmax, double ymax);

    // Entities drawn by the last Draw (marked by the tile map and not hidden).
    std::size_t DrawnCount() const { return m_drawn; }

private:
    void MarkVisible();
    void DrawEntity(const KXPdbEntity& e, HDC dc);
    void DrawPolyline(const KXPdbEntity& e, CKXPdbDevicePath& path);
    void DrawText(const KXPdbEntity& e, CKXPdbDevicePath& path);
    void ApplyAttributes(std::uint16_t id, HDC dc);
    bool InstallsStyle(const KXPdbAttribute& record) const;
    void SelectPen(HDC dc);
    void RestorePen(HDC dc);
    COLORREF ContrastColour() const;

    const CKXPdbDrawing& m_drawing;
    int m_mode = 0;
    COLORREF m_background = 0xFFFFFF;
    KXPdbDeviceMap m_map;
    CKXPdbDashWalker m_walker;
    std::vector<std::uint8_t> m_marks;
    std::vector<KXPdbDevPoint> m_points;
    KXPdbAttribute m_current;
    int m_layerState = 1;
    HGDIOBJ m_previousPen = nullptr;
    HPEN m_currentPen = nullptr;
    std::size_t m_drawn = 0;
};

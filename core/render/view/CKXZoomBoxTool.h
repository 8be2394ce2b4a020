// Zooms to a rectangle dragged with the mouse, shown meanwhile as a rubber
// band (an exclusive-or focus rectangle, so drawing it again erases it).
#pragma once

#include "CKXTool.h"

class CKXZoomBoxTool : public CKXTool {
public:
    explicit CKXZoomBoxTool(CKXView& view) : CKXTool(view, kZoomBox) {}
    bool Drag(POINT point) override;
    bool End(POINT point) override;

private:
    // More than 4 units from start in both axes.
    bool LargeEnough() const;
    void DrawBand(POINT corner);

    bool m_banded = false;
};

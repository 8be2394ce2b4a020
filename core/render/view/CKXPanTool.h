// Moves the drawing with the mouse.
#pragma once

#include "CKXTool.h"

class CKXPanTool : public CKXTool {
public:
    explicit CKXPanTool(CKXView& view, int type = kPan) : CKXTool(view, type) {}
    bool Begin(POINT point) override;
    bool Drag(POINT point) override;
    // True only when the last drag moved the view.
    bool End(POINT point) override;

protected:
    // Acts on the movement from previous to current.
    virtual void Act();
};

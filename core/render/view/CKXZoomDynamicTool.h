// Zooms with vertical movement: up zooms in, down zooms out, by 1% a unit.
#pragma once

#include "CKXPanTool.h"

class CKXZoomDynamicTool : public CKXPanTool {
public:
    static constexpr double kZoomPerUnit = 0.01;
    explicit CKXZoomDynamicTool(CKXView& view) : CKXPanTool(view, kZoomDynamic) {}

protected:
    void Act() override;
};

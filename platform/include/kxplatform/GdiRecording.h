// Reading back what was drawn into a recording context (KXCreateRecordingDC).
#pragma once

#include <kxplatform/export.h>
#include <kxplatform/gdi.h>

#include <vector>

namespace kxplatform {

enum class GdiOp { SelectPen, SetBkColor, MoveTo, LineTo, FillRect, DrawFocusRect };

struct GdiCall {
    GdiOp op;
    int x = 0;  // MoveTo, LineTo
    int y = 0;
    LOGPEN pen{PS_SOLID, {0, 0}, 0};  // SelectPen
    bool stockPen = false;            // SelectPen of the context's initial pen
    COLORREF color = 0;               // SetBkColor, FillRect
    RECT rect{0, 0, 0, 0};            // FillRect, DrawFocusRect
};

// The calls made on dc in order; empty for a context that does not record.
KXPLATFORM_API std::vector<GdiCall> RecordedCalls(HDC dc);
KXPLATFORM_API void ClearRecordedCalls(HDC dc);

}  // namespace kxplatform

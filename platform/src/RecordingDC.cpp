// A device context that draws nothing and keeps every call, for tests.
#include <kxplatform/GdiRecording.h>
#include <kxplatform/dc.h>

#include <new>

#include "DeviceContext.h"

namespace kxplatform {

namespace {

class RecordingDC final : public DeviceContext {
public:
    const std::vector<GdiCall>& Calls() const { return m_calls; }
    void Clear() { m_calls.clear(); }

private:
    void OnSelectPen(const GdiObject& pen, bool) override {
        GdiCall call{GdiOp::SelectPen};
        call.pen = pen.Pen();
        call.stockPen = pen.IsStock();
        m_calls.push_back(call);
    }
    void OnSetBackground(COLORREF color) override {
        GdiCall call{GdiOp::SetBkColor};
        call.color = color;
        m_calls.push_back(call);
    }
    void OnMoveTo(POINT to) override { m_calls.push_back(Point(GdiOp::MoveTo, to)); }
    void OnLineTo(POINT, POINT to) override { m_calls.push_back(Point(GdiOp::LineTo, to)); }
    void OnFill(const RECT& rect, COLORREF color) override {
        GdiCall call{GdiOp::FillRect};
        call.rect = rect;
        call.color = color;
        m_calls.push_back(call);
    }
    void OnFocusRect(const RECT& rect) override {
        GdiCall call{GdiOp::DrawFocusRect};
        call.rect = rect;
        m_calls.push_back(call);
    }

    static GdiCall Point(GdiOp op, POINT p) {
        GdiCall call{op};
        call.x = static_cast<int>(p.x);
        call.y = static_cast<int>(p.y);
        return call;
    }

    std::vector<GdiCall> m_calls;
};

RecordingDC* AsRecording(HDC dc) {
    return dynamic_cast<RecordingDC*>(DeviceContext::FromHandle(dc));
}

}  // namespace

std::vector<GdiCall> RecordedCalls(HDC dc) {
    const RecordingDC* recording = AsRecording(dc);
    return recording != nullptr ? recording->Calls() : std::vector<GdiCall>{};
}

void ClearRecordedCalls(HDC dc) {
    if (RecordingDC* recording = AsRecording(dc)) recording->Clear();
}

}  // namespace kxplatform

HDC KXCreateRecordingDC(void) {
    auto* dc = new (std::nothrow) kxplatform::RecordingDC();
    return dc != nullptr ? dc->Handle() : nullptr;
}

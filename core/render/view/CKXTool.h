// An interaction tool of a view: begin, drag and end follow one press of a
// mouse button, in client (device) coordinates. The base only tracks the
// points; a tool of type 0 never starts.
#pragma once

#include <kxplatform/wintypes.h>

class CKXView;

class CKXTool {
public:
    static constexpr int kNone = 0;
    static constexpr int kPan = 1;
    static constexpr int kZoomBox = 2;
    static constexpr int kZoomDynamic = 3;
    // No point acted upon yet.
    static constexpr LONG kNoPoint = 0x7FFF;

    CKXTool(CKXView& view, int type) : m_type(type), m_view(view) {}
    CKXTool(const CKXTool&) = delete;
    CKXTool& operator=(const CKXTool&) = delete;
    virtual ~CKXTool() = default;

    virtual bool Begin(POINT point);
    virtual bool Drag(POINT point);
    virtual bool End(POINT point);

    int GetType() const { return m_type; }
    bool IsActive() const { return m_active; }

protected:
    // True when current moved at least 5 units from previous in some axis.
    bool MovedEnough() const;

    int m_type;
    bool m_active = false;
    bool m_moved = false;
    POINT m_start{0, 0};
    POINT m_current{0, 0};
    POINT m_previous{kNoPoint, kNoPoint};
    CKXView& m_view;
};

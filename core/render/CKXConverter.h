// The render context: maps drawing units to device units for one draw
// (transform, world window, device rectangle, one uniform scale) and carries
// what entities need while they draw themselves: the document, the draw's
// attribute state, the clip stack and the line-style walker. A value object: a block reference draws
// its content through an extended copy.
#pragma once

#include <kxplatform/wintypes.h>

#include "geom/CFltExtents.h"
#include "geom/CFltPoint.h"
#include "CKXDevicePath.h"
#include "CKXLineStyleWalker.h"
#include "geom/CTransf2D.h"

class CKXDoc;
class CKXClipRgnSet;
class CKXDrawState;
struct KXLineStyleExt;

class CKXConverter {
public:
    // Windows narrower than this (drawing units) cannot be shown.
    static constexpr double kMinWorldSize = 1e-6;

    CKXConverter() = default;
    CKXConverter(const CKXConverter&) = default;
    CKXConverter& operator=(const CKXConverter&) = default;
    virtual ~CKXConverter() = default;

    CTransf2D& Transform() { return m_transform; }
    const CTransf2D& GetTransform() const { return m_transform; }

    CKXDoc* GetDoc() const { return m_doc; }
    void SetDoc(CKXDoc* doc) { m_doc = doc; }
    // The attributes and pens of the running draw (null outside one).
    CKXDrawState* GetDrawState() const { return m_drawState; }
    void SetDrawState(CKXDrawState* state) { m_drawState = state; }
    CKXClipRgnSet* GetClipStack() const { return m_clipStack; }
    void SetClipStack(CKXClipRgnSet* clip) { m_clipStack = clip; }

    // Copies the window, widening a degenerate one; the scales must be
    // computed again.
    void SetWindow(const CFltExtents& window);
    const CFltExtents& GetWindow() const { return m_window; }
    void SetDeviceRect(const RECT& rect);
    const RECT& GetDeviceRect() const { return m_rect; }

    // Computes one scale for both axes, growing the window to the right or
    // upward to fill the rectangle; false when either is too small.
    bool Validate();
    bool IsValid() const { return m_valid != 0; }
    double GetScaleX() const { return m_scaleX; }
    double GetScaleY() const { return m_scaleY; }

    // Transform, then window mapping, truncated toward zero. Points beyond
    // the safe device range are clamped into it. False when not valid, a
    // pointer is null or n <= 0.
    bool ToDevice(const CFltPoint* in, POINT* out, int n) const;
    // Device to drawing units: the inverse of ToDevice.
    bool ToWorld(const POINT* in, CFltPoint* out, int n) const;
    // One point mapped as ToDevice does, without clamping; segments between
    // such points are clipped by CKXDevicePath.
    KXDevPoint ToDeviceExact(const CFltPoint& p) const;
    // Window mapping only (the point is already transformed).
    KXDevPoint WindowToDevice(double x, double y) const;

    // Installs a line style (null: solid) for an attribute set's line-style
    // scale; the pattern is scaled by scale x times that scale.
    void SetLineStyle(KXLineStyleExt* style, double lineStyleScale);
    // A line style is installed and is to be walked, not drawn solid.
    bool HasLineStyle() const { return m_walker.HasPattern(); }
    // The attribute set's scale the installed line style was set with.
    double GetLineStyleScale() const { return m_lineStyleScale; }
    CKXLineStyleWalker& Walker() { return m_walker; }
    const CKXLineStyleWalker& Walker() const { return m_walker; }

    // The drawing-enabled flag of the running draw (null outside a draw):
    // attribute sets switch it with the visibility of their layer.
    int* GetDrawingEnabled() const { return m_drawingEnabled; }
    void SetDrawingEnabled(int* flag) { m_drawingEnabled = flag; }

private:
    CTransf2D m_transform;
    CKXDoc* m_doc = nullptr;
    CKXDrawState* m_drawState = nullptr;
    CKXClipRgnSet* m_clipStack = nullptr;
    CKXLineStyleWalker m_walker;
    double m_lineStyleScale = 1.0;
    int m_valid = 0;
    RECT m_rect{0, 0, 0, 0};
    CFltExtents m_window;
    double m_scaleX = 0.0;
    double m_scaleY = 0.0;
    int* m_drawingEnabled = nullptr;
};

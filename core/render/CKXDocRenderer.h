// The draw traversal of a finished document: the quadtree decides which
// entities can be visible, then they are drawn once each, in document order,
// with attribute sets switching pens, line styles and layer visibility.
#pragma once

#include <kxplatform/wintypes.h>

#include <cstdint>
#include <vector>

#include "geom/CFltExtents.h"

class CKXDoc;
class CKXConverter;
class CKXDrawState;
struct KXDrawRequest;

class CKXDocRenderer {
public:
    // Display mode bits.
    static constexpr int kDisplayNoText = 1;
    static constexpr int kDisplayNoLineStyles = 2;
    static constexpr int kDisplayNoLineWeights = 4;
    static constexpr int kDisplayMonochrome = 32;

    explicit CKXDocRenderer(CKXDoc& doc) : m_doc(doc) {}

    // Draws into dc through a valid render context, following the stream's
    // attributes in state.
    void Draw(HDC dc, CKXConverter& rc, CKXDrawState& state);

    // KXDraw: the request's rectangle and window; nothing is drawn when
    // either is degenerate. The draw keeps its own state.
    void DrawRequest(const KXDrawRequest& request);
    // The drawing part of KXViewDrawDC: the rectangle is shrunk in place by
    // one device unit on every side, then the extents are drawn into it with
    // the view's state.
    void DrawView(HDC dc, RECT& rect, const CFltExtents& extents, CKXDrawState& state);

    // Level-of-detail test of one entity at a scale.
    static bool PassesDetail(double scale, const double thresholds[3], std::uint32_t mask);

    // Stores the display mode and derives the weight and monochrome switches.
    static void SetDisplayMode(CKXDoc& doc, int mode);
    static void SetForeground(CKXDoc& doc, COLORREF color);
    // Also turns colour-table entry 1 into the new contrast colour.
    static void SetBackground(CKXDoc& doc, COLORREF color);

private:
    void MarkVisible(const CFltExtents& window, double scale);
    void DrawMarked(HDC dc, CKXConverter& rc);

    CKXDoc& m_doc;
    std::vector<std::uint8_t> m_marks;
};

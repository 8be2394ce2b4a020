// A view of one document: the drawing area it shows, the zooms it made (its
// zoom history), its bookmarks and the attribute state its draws use. Zooms
// are refused without a document or with empty extents.
#pragma once

#include <kxplatform/wintypes.h>

#include <optional>
#include <string>

#include "CKXBookmarkList.h"
#include "CKXZoomHistory.h"
#include "geom/CFltExtents.h"
#include "render/CKXDrawState.h"

class CKXDoc;

class CKXView {
public:
    explicit CKXView(CKXDoc* doc) : m_doc(doc) {}
    CKXView(const CKXView&) = delete;
    CKXView& operator=(const CKXView&) = delete;
    // Deletes the document when asked to (SetDeleteDoc).
    ~CKXView();

    CKXDoc* GetDoc() const { return m_doc; }
    void SetDoc(CKXDoc* doc) { m_doc = doc; }
    void SetDeleteDoc(bool on) { m_deleteDoc = on; }
    const CFltExtents& GetExtents() const { return m_extents; }
    // Shows the extents without recording a zoom.
    void SetExtents(const CFltExtents& extents) { m_extents = extents; }

    // Records the present extents, then scales them about their centre by
    // 1 / factor (factor > 1 zooms in).
    void Zoom(double factor);
    // Records the present extents and shows the whole document.
    void ZoomAll();
    // Records the present extents and shows the box.
    void ZoomTo(const CFltExtents& box);

    // Backward and forward through the history; the debug line of the step
    // is written in either case.
    void Backward();
    void Forward();
    bool BackwardAvailable() const { return m_history.BackwardAvailable(); }
    bool ForwardAvailable() const { return m_history.ForwardAvailable(); }

    bool SetBookmark(const std::string& name) { return m_bookmarks.Add(name, m_extents); }
    CKXBookmarkList& Bookmarks() { return m_bookmarks; }
    // Shows a bookmark's extents, recording the present ones when the zoom
    // ratio changes by more than the tolerance.
    void JumpTo(const CKXBookmark& mark);

    // The view's zoom ratio of extents, for its client area.
    double ZoomRatio(const CFltExtents& extents) const;
    // Sets the client size the zoom ratio is measured in (0, 0: none).
    void SetClientSize(int width, int height);

    // Draws the view's extents into the rectangle, which is shrunk in place
    // by one unit on every side; nothing without a document.
    void DrawDC(HDC dc, RECT& rect);

private:
    bool CanZoom() const { return m_doc != nullptr && m_extents.IsValid(); }
    void Navigate(bool backward, std::optional<CFltExtents> reached);

    CKXDoc* m_doc;
    bool m_deleteDoc = false;
    CFltExtents m_extents;
    CKXZoomHistory m_history;
    CKXBookmarkList m_bookmarks;
    CKXDrawState m_drawState;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
};

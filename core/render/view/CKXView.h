// A view of one document: the drawing area it shows, the zooms it made (its
// zoom history), its bookmarks and the attribute state its draws use. Zooms
// are refused without a document or with empty extents.
#pragma once

#include <kxplatform/wintypes.h>

#include <cstdint>

#include <memory>
#include <optional>
#include <string>

#include "CKXBookmarkList.h"
#include "CKXTool.h"
#include "CKXZoomHistory.h"
#include "geom/CFltExtents.h"
#include "render/CKXDrawState.h"

class CKXDoc;
class CKXConverter;

class CKXView {
public:
    explicit CKXView(CKXDoc* doc) : m_doc(doc) {}
    CKXView(const CKXView&) = delete;
    CKXView& operator=(const CKXView&) = delete;
    // Releases the view, then deletes the document when asked to.
    ~CKXView();

    // --- Window (CKXViewWindow.cpp) -----------------------------------------
    // Makes the view's own window ("KXViewClass", "Korvex"), or subclasses
    // the host window when one is given. Without a window the view stays
    // inert on screen.
    void Open(HWND host);
    // Gives the window back (its procedure restored, or destroyed), deletes
    // the document when asked to and drops the tool.
    void Release();
    HWND Window() const { return m_window; }
    // The window's handling of the messages the view answers; false for the
    // others.
    bool Handle(HWND window, UINT message, WPARAM w, LPARAM l);
    void Show();
    // Invalidates the window (with erase or not).
    void Repaint(bool erase);

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

    // Moves the extents so that the drawing follows a device offset; not
    // recorded.
    void Pan(LONG dx, LONG dy);
    // Records the present extents and shows the box between two device
    // corners.
    void ZoomToDevice(POINT a, POINT b);
    // The rubber band of the zoom box, on the view's surface.
    void DrawFocus(const RECT& rect);
    // The device context the rubber band is drawn on (null: none).
    void SetSurface(HDC dc) { m_surface = dc; }

    // Tools. The selected type is one for all views: the left button
    // recreates the tool when it differs; the middle button and the wheel
    // use a pan or a dynamic-zoom tool without changing it.
    void CreateTool(int type);
    static int SelectedTool();
    const CKXTool* Tool() const { return m_tool.get(); }
    void LeftButtonDown(POINT point);
    void MiddleButtonDown(POINT point);
    // With the left or middle button held.
    void MouseMove(POINT point);
    void ButtonUp(POINT point);
    // The wheel's message parameter (delta in the high word).
    void Wheel(std::uint32_t wparam);
    // Arrows move by a tenth of the extents (not recorded); X and numeric
    // + zoom in by 2, Z and numeric - out by 2.
    void Key(int virtualKey);

    // The view's zoom ratio of extents, for its client area.
    double ZoomRatio(const CFltExtents& extents) const;
    // Sets the client size the zoom ratio is measured in (0, 0: none).
    void SetClientSize(int width, int height);

    // Draws the view's extents into the rectangle, which is shrunk in place
    // by one unit on every side; nothing without a document.
    void DrawDC(HDC dc, RECT& rect);

private:
    bool CanZoom() const { return m_doc != nullptr && m_extents.IsValid(); }
    // The paint's render context (client area shrunk by one unit); false
    // when there is no document or it does not validate.
    bool DeviceContext(CKXConverter& rc) const;
    void ReplaceTool(int type);
    void Navigate(bool backward, std::optional<CFltExtents> reached);

    void Paint(HWND window);
    void ClientSize(int& width, int& height) const;

    CKXDoc* m_doc;
    bool m_deleteDoc = false;
    bool m_released = false;
    bool m_subclassed = false;
    HWND m_window = nullptr;
    CFltExtents m_extents;
    CKXZoomHistory m_history;
    CKXBookmarkList m_bookmarks;
    CKXDrawState m_drawState;
    std::unique_ptr<CKXTool> m_tool;
    HDC m_surface = nullptr;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
};

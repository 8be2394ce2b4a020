// A drawing in a window: a frame window of ours on which the engine's view
// is attached (subclassing it), with our own keys handled in front of the
// view's. A DXF drawing is read by the engine and painted by the view; a
// drawing file (.pdb) is painted from its own records by kxpdbdraw at the
// extents the view navigates to, over an empty document that carries the
// drawing's extents, so both kinds move the same way.
#pragma once

#include <korvex/kxcore.h>
#include <kxplatform/winuser.h>

#include <memory>
#include <string>

#include "CKXViewerOptions.h"

class CKXPdbDrawing;
class CKXPdbPainter;

class CKXViewer {
public:
    CKXViewer();
    CKXViewer(const CKXViewer&) = delete;
    CKXViewer& operator=(const CKXViewer&) = delete;
    ~CKXViewer();

    // Reads the drawing; false with a message when it cannot be shown.
    bool Load(const CKXViewerOptions& options, std::string& error);
    // Makes the window and the view with that left-button tool, and shows it.
    bool Open(const CKXViewerOptions& options, int tool, std::string& error);
    // The message loop, until the window is closed.
    void Run();

private:
    static LRESULT FrameProc(HWND window, UINT message, WPARAM w, LPARAM l);
    static LRESULT FrontProc(HWND window, UINT message, WPARAM w, LPARAM l);
    // True when the key is one of ours; may rewrite the key for the view.
    bool Key(HWND window, int& key);
    void PaintDrawingFile(HWND window);
    void UpdateTitle();
    std::string BookmarkName(int index) const;

    std::string m_name;
    std::string m_status;
    KXDOC m_doc = nullptr;
    KXVIEW m_view = nullptr;
    HWND m_window = nullptr;
    WNDPROC m_viewProc = nullptr;
    std::unique_ptr<CKXPdbDrawing> m_drawing;
    std::unique_ptr<CKXPdbPainter> m_painter;
};

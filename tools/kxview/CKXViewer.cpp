#include "CKXViewer.h"

#include <kxplatform/gdi.h>

#include <algorithm>
#include <cctype>
#include <iostream>

#include "CKXDoc.h"
#include "CKXPdbDrawing.h"
#include "CKXPdbPainter.h"
#include "render/view/CKXView.h"

namespace {

constexpr const char* kFrameClass = "KXViewerFrame";
constexpr const char* kBookmarkName = "View";
constexpr int kNameBuffer = 512;
constexpr COLORREF kBackground = RGB(255, 255, 255);

// One viewer per process: the window procedures find it here.
CKXViewer* g_viewer = nullptr;

bool IsDrawingFile(const std::string& path) {
    if (path.size() < 4) return false;
    std::string tail = path.substr(path.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == ".pdb";
}

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

const char* ToolName(int tool) {
    switch (tool) {
    case 1: return "pan";
    case 2: return "zoom box";
    case 3: return "dynamic zoom";
    default: return "none";
    }
}

}  // namespace

CKXViewer::CKXViewer() = default;

CKXViewer::~CKXViewer() {
    // The view deletes the document it was given.
    if (m_view)
        KXViewDelete(m_view);
    else if (m_doc)
        KXDeleteDocInstance(m_doc);
    if (m_window && IsWindow(m_window)) DestroyWindow(m_window);
    if (g_viewer == this) g_viewer = nullptr;
}

bool CKXViewer::Load(const CKXViewerOptions& options, std::string& error) {
    m_name = BaseName(options.input);
    m_doc = KXCreateDocInstance();
    if (!m_doc) {
        error = "out of memory";
        return false;
    }
    CKXDoc& doc = *static_cast<CKXDoc*>(m_doc);
    const int mode = options.fineCurves ? KX_DISPLAY_FINE_CURVES : 0;
    if (IsDrawingFile(options.input)) {
        m_drawing = CKXPdbDrawing::Open(options.input, error);
        if (!m_drawing) {
            error = "cannot read " + options.input + ": " + error;
            return false;
        }
        const KXPdbDrawingInfo& info = m_drawing->Info();
        doc.SetExtents(CFltExtents(info.minX, info.minY, info.maxX, info.maxY));
        m_painter = std::make_unique<CKXPdbPainter>(*m_drawing);
        m_painter->SetDisplayMode(mode);
        m_painter->SetBackground(kBackground);
    } else {
        if (KXRead(m_doc, options.input.c_str(), nullptr) == 0) {
            if (doc.GetCount() == 0) {
                error = "cannot read " + options.input + " (unknown extension, missing translator or unreadable file)";
                return false;
            }
            std::cerr << "kxview: warning: the translator stopped early; showing what was read\n";
        }
        KXClose(m_doc, 0);
        KXSetDisplayMode(m_doc, mode);
    }
    KXSetBgColor(m_doc, kBackground);
    return true;
}

bool CKXViewer::Open(const CKXViewerOptions& options, int tool, std::string& error) {
    g_viewer = this;
    WNDCLASSEXA frame{};
    frame.cbSize = sizeof frame;
    frame.style = CS_HREDRAW | CS_VREDRAW;
    frame.lpfnWndProc = &FrameProc;
    frame.lpszClassName = kFrameClass;
    RegisterClassExA(&frame);
    m_window = CreateWindowExA(0, kFrameClass, "kxview", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                               options.width, options.height, nullptr, nullptr, nullptr, nullptr);
    if (!m_window) {
        error = "cannot make a window";
        return false;
    }
    m_view = KXCreateView(m_doc, m_window, 0);
    if (!m_view) {
        error = "out of memory";
        return false;
    }
    KXViewSetDocDelete(m_view, 1);
    KXViewCreateTool(m_view, tool);
    m_status = std::string("tool: ") + ToolName(tool);
    // Our keys come first; everything else goes on to the view.
    m_viewProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrontProc)));
    UpdateTitle();
    KXViewShow(m_view);
    return true;
}

void CKXViewer::Run() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) DispatchMessageA(&message);
}

LRESULT CKXViewer::FrameProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_DESTROY) {
        if (g_viewer && g_viewer->m_window == window) g_viewer->m_window = nullptr;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, w, l);
}

LRESULT CKXViewer::FrontProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    CKXViewer* viewer = g_viewer;
    if (!viewer) return DefWindowProcA(window, message, w, l);
    const WNDPROC next = viewer->m_viewProc;
    if (message == WM_KEYDOWN) {
        int key = static_cast<int>(w);
        if (viewer->Key(window, key)) return 0;
        w = static_cast<WPARAM>(key);
    } else if (message == WM_PAINT && viewer->m_painter) {
        viewer->PaintDrawingFile(window);
        return 0;
    }
    return CallWindowProcA(next, window, message, w, l);
}

bool CKXViewer::Key(HWND window, int& key) {
    char name[kNameBuffer] = {};
    switch (key) {
    case VK_ESCAPE:
    case 'Q': DestroyWindow(window); return true;
    case VK_HOME:
    case 'A':
        KXViewZoomAll(m_view);
        m_status = "all";
        break;
    case VK_BACK:
    case 'B':
        m_status = KXViewBkwZoomAvailable(m_view) ? "back" : "no view before";
        KXViewBkwZoom(m_view);
        break;
    case 'F':
        m_status = KXViewFrwZoomAvailable(m_view) ? "forward" : "no view after";
        KXViewFrwZoom(m_view);
        break;
    case 'M':
        if (KXViewBmkSet(m_view, kBookmarkName))
            m_status = "bookmark set: " + BookmarkName(KXViewBmkGetSize(m_view) - 1);
        else
            m_status = "bookmarks full";
        break;
    case 'N':
    case 'P': {
        const int moved = key == 'N' ? KXViewBmkGoNext(m_view, name) : KXViewBmkGoPrev(m_view, name);
        m_status = moved ? std::string("bookmark: ") + name : std::string("no bookmark");
        break;
    }
    case '1':
    case '2':
    case '3':
        KXViewCreateTool(m_view, key - '0');
        m_status = std::string("tool: ") + ToolName(key - '0');
        break;
    // The main keyboard's + and - zoom as the keypad's do.
    case VK_OEM_PLUS: key = VK_ADD; return false;
    case VK_OEM_MINUS: key = VK_SUBTRACT; return false;
    default: return false;
    }
    UpdateTitle();
    return true;
}

std::string CKXViewer::BookmarkName(int index) const {
    char name[kNameBuffer] = {};
    KXViewBmkGetName(m_view, index, name);
    return name;
}

void CKXViewer::PaintDrawingFile(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client{0, 0, 0, 0};
    if (dc && GetClientRect(window, &client)) {
        if (HBRUSH background = CreateSolidBrush(kBackground)) {
            FillRect(dc, &client, background);
            DeleteObject(background);
        }
        // The view's paint leaves one pixel free on every side; so does this.
        const RECT inner{client.left + 1, client.top + 1, client.right - 1, client.bottom - 1};
        const CFltExtents& e = static_cast<CKXView*>(m_view)->GetExtents();
        m_painter->Draw(dc, inner, e.xmin, e.ymin, e.xmax, e.ymax);
    }
    EndPaint(window, &paint);
}

void CKXViewer::UpdateTitle() {
    const std::string title = m_name + " - kxview [" + m_status +
                              "]  wheel zoom, middle pan, A all, B/F back/fwd, M/N/P bookmarks, Q quit";
    SetWindowTextA(m_window, title.c_str());
}

// The window side of a view: its window class and procedure, subclassing a
// host window, painting and giving the window back.
#include <kxplatform/gdi.h>
#include <kxplatform/winuser.h>

#include "CKXDoc.h"
#include "CKXView.h"

namespace {

constexpr const char* kClassName = "KXViewClass";
constexpr const char* kTitle = "Korvex";

// The procedure a subclassed host window had: one for the process.
WNDPROC g_hostProc = nullptr;

CKXView* ViewOfWindow(HWND window) {
    return reinterpret_cast<CKXView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

POINT PointOf(LPARAM l) { return POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)}; }

LRESULT ViewProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_CREATE:
    case WM_SIZE: return 0;
    case WM_DESTROY:
        if (CKXView* view = ViewOfWindow(window)) view->Handle(window, message, w, l);
        return 0;
    default: break;
    }
    CKXView* view = ViewOfWindow(window);
    if (view && view->Handle(window, message, w, l)) return 0;
    return DefWindowProcA(window, message, w, l);
}

LRESULT SubclassProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    CKXView* view = ViewOfWindow(window);
    if (view && message != WM_DESTROY && view->Handle(window, message, w, l)) return 0;
    return CallWindowProcA(g_hostProc, window, message, w, l);
}

bool RegisterViewClass() {
    static bool registered = false;
    if (registered) return true;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = &ViewProc;
    windowClass.lpszClassName = kClassName;
    registered = RegisterClassExA(&windowClass) != 0;
    return registered;
}

}  // namespace

void CKXView::Open(HWND host) {
    HWND window = host;
    if (host) {
        g_hostProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
        m_subclassed = true;
    } else if (RegisterViewClass()) {
        window = CreateWindowExA(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
    }
    m_window = window;
    if (window) SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void CKXView::Release() {
    if (m_window) {
        HWND window = m_window;
        m_window = nullptr;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        if (m_subclassed)
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_hostProc));
        else
            DestroyWindow(window);
    }
    if (m_deleteDoc) {
        delete m_doc;
        m_doc = nullptr;
    }
    m_tool.reset();
    m_released = true;
}

void CKXView::Show() {
    if (m_doc) m_extents = m_doc->GetExtents();
    if (!m_window) return;
    ShowWindow(m_window, SW_SHOW);
    UpdateWindow(m_window);
}

void CKXView::Repaint(bool erase) {
    if (m_window) InvalidateRect(m_window, nullptr, erase ? TRUE : FALSE);
}

void CKXView::ClientSize(int& width, int& height) const {
    RECT client{0, 0, 0, 0};
    if (m_window && GetClientRect(m_window, &client)) {
        width = client.right - client.left;
        height = client.bottom - client.top;
    } else {
        width = m_clientWidth;
        height = m_clientHeight;
    }
}

void CKXView::Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc && m_doc) {
        RECT client{0, 0, 0, 0};
        GetClientRect(window, &client);
        if (HBRUSH background = CreateSolidBrush(m_doc->GetBgColor())) {
            FillRect(dc, &client, background);
            DeleteObject(background);
        }
        DrawDC(dc, client);
    }
    EndPaint(window, &paint);
}

bool CKXView::Handle(HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_PAINT: Paint(window); return true;
    case WM_KEYDOWN: Key(static_cast<int>(w)); return true;
    case WM_MOUSEMOVE:
        if ((w & (MK_LBUTTON | MK_MBUTTON)) != 0) MouseMove(PointOf(l));
        return true;
    case WM_LBUTTONDOWN: LeftButtonDown(PointOf(l)); return true;
    case WM_MBUTTONDOWN: MiddleButtonDown(PointOf(l)); return true;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP: ButtonUp(PointOf(l)); return true;
    case WM_MOUSEWHEEL: Wheel(static_cast<std::uint32_t>(w)); return true;
    case WM_DESTROY:
        // The window is going: the view lets go of it, and frees itself when
        // it owns the document.
        m_window = nullptr;
        m_released = true;
        if (m_deleteDoc) delete this;
        return true;
    default: return false;
    }
}

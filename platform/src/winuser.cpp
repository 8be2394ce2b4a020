// The window layer: each window keeps its procedure, user data and client
// size, and paints into a raster context of that size. Messages are sent
// directly or queued for the message loop; the backend (WindowBackend.h)
// makes the native window, shows what was painted and reports input.
#include <kxplatform/dc.h>
#include <kxplatform/gdi.h>
#include <kxplatform/winuser.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <new>
#include <set>
#include <memory>
#include <string>

#include "WindowBackend.h"

using kxplatform::WindowBackend;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

struct Window {
    WNDPROC proc = nullptr;
    LONG_PTR user = 0;
    int width = 0;
    int height = 0;
    HDC surface = nullptr;
    bool invalid = true;
    bool visible = false;
};

// All on the one thread that owns the windows, as the engine requires.
std::map<std::string, WNDCLASSEXA>& Classes() {
    static std::map<std::string, WNDCLASSEXA> classes;
    return classes;
}
std::set<Window*>& Windows() {
    static std::set<Window*> windows;
    return windows;
}
std::deque<MSG>& Queue() {
    static std::deque<MSG> queue;
    return queue;
}

// The display backend a program opted in to; headless otherwise.
std::unique_ptr<WindowBackend>& DisplayBackend() {
    static std::unique_ptr<WindowBackend> backend;
    return backend;
}
WindowBackend& Backend() {
    return DisplayBackend() ? *DisplayBackend() : kxplatform::HeadlessBackend();
}

Window* WindowOf(HWND handle) {
    auto* window = reinterpret_cast<Window*>(handle);
    return Windows().count(window) != 0 ? window : nullptr;
}

HWND HandleOf(Window* window) { return reinterpret_cast<HWND>(window); }

bool Resize(Window& window, int width, int height) {
    HDC surface = KXCreateRasterDC(std::max(width, 1), std::max(height, 1), kWhite);
    if (!surface) return false;
    if (window.surface) DeleteDC(window.surface);
    window.surface = surface;
    window.width = width;
    window.height = height;
    window.invalid = true;
    return true;
}

}  // namespace

WORD RegisterClassExA(const WNDCLASSEXA* windowClass) {
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) return 0;
    if (!Classes().emplace(windowClass->lpszClassName, *windowClass).second) return 0;
    return static_cast<WORD>(Classes().size());
}

Window* FirstToPaint() {
    for (Window* window : Windows())
        if (window->invalid && window->visible) return window;
    return nullptr;
}

HWND CreateWindowExA(DWORD, const char* className, const char* title, DWORD, int, int, int width, int height,
                     HWND, HANDLE, HINSTANCE, void*) {
    if (!className) return nullptr;
    const auto found = Classes().find(className);
    if (found == Classes().end()) return nullptr;
    Window* window = new (std::nothrow) Window;
    if (!window) return nullptr;
    window->proc = found->second.lpfnWndProc;
    if (width == CW_USEDEFAULT || width <= 0) width = KX_DEFAULT_CLIENT_WIDTH;
    if (height == CW_USEDEFAULT || height <= 0) height = KX_DEFAULT_CLIENT_HEIGHT;
    if (!Resize(*window, width, height)) {
        delete window;
        return nullptr;
    }
    HWND handle = HandleOf(window);
    if (!Backend().Open(handle, title ? title : "", width, height)) {
        DeleteDC(window->surface);
        delete window;
        return nullptr;
    }
    Windows().insert(window);
    SendMessageA(handle, WM_CREATE, 0, 0);
    SendMessageA(handle, WM_SIZE, 0, MAKELPARAM(width, height));
    return handle;
}

BOOL DestroyWindow(HWND handle) {
    Window* window = WindowOf(handle);
    if (!window) return FALSE;
    SendMessageA(handle, WM_DESTROY, 0, 0);
    Backend().Close(handle);
    Windows().erase(window);
    Queue().erase(std::remove_if(Queue().begin(), Queue().end(),
                                 [handle](const MSG& m) { return m.hwnd == handle; }),
                  Queue().end());
    DeleteDC(window->surface);
    delete window;
    return TRUE;
}

BOOL IsWindow(HWND handle) { return WindowOf(handle) ? TRUE : FALSE; }

LRESULT DefWindowProcA(HWND handle, UINT message, WPARAM, LPARAM) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        BeginPaint(handle, &paint);
        EndPaint(handle, &paint);
    } else if (message == WM_CLOSE) {
        DestroyWindow(handle);
    }
    return 0;
}

LRESULT CallWindowProcA(WNDPROC proc, HWND handle, UINT message, WPARAM w, LPARAM l) {
    return proc ? proc(handle, message, w, l) : DefWindowProcA(handle, message, w, l);
}

LONG_PTR SetWindowLongPtrA(HWND handle, int index, LONG_PTR value) {
    Window* window = WindowOf(handle);
    if (!window) return 0;
    LONG_PTR previous = 0;
    if (index == GWLP_USERDATA) {
        previous = window->user;
        window->user = value;
    } else if (index == GWLP_WNDPROC && value != 0) {
        previous = reinterpret_cast<LONG_PTR>(window->proc);
        window->proc = reinterpret_cast<WNDPROC>(value);
    }
    return previous;
}

LONG_PTR GetWindowLongPtrA(HWND handle, int index) {
    Window* window = WindowOf(handle);
    if (!window) return 0;
    if (index == GWLP_USERDATA) return window->user;
    if (index == GWLP_WNDPROC) return reinterpret_cast<LONG_PTR>(window->proc);
    return 0;
}

LRESULT SendMessageA(HWND handle, UINT message, WPARAM w, LPARAM l) {
    Window* window = WindowOf(handle);
    return window ? CallWindowProcA(window->proc, handle, message, w, l) : 0;
}

BOOL PostMessageA(HWND handle, UINT message, WPARAM w, LPARAM l) {
    if (handle && !WindowOf(handle)) return FALSE;
    Queue().push_back(MSG{handle, message, w, l});
    return TRUE;
}

void PostQuitMessage(int code) {
    Queue().push_back(MSG{nullptr, WM_QUIT, static_cast<WPARAM>(code), 0});
}

BOOL GetMessageA(MSG* message, HWND, UINT, UINT) {
    if (!message) return FALSE;
    for (;;) {
        if (!Queue().empty()) {
            *message = Queue().front();
            Queue().pop_front();
            return message->message == WM_QUIT ? FALSE : TRUE;
        }
        if (Window* window = FirstToPaint()) {
            *message = MSG{HandleOf(window), WM_PAINT, 0, 0};
            return TRUE;
        }
        MSG native{};
        if (!Backend().NextMessage(native)) return FALSE;
        Window* window = WindowOf(native.hwnd);
        if (!window) continue;
        if (native.message == WM_PAINT) {
            // Uncovered: what was painted last is still right unless the
            // window waits for a paint anyway.
            if (!window->invalid) Backend().Present(native.hwnd, window->surface);
            continue;
        }
        if (native.message == WM_SIZE &&
            !Resize(*window, GET_X_LPARAM(native.lParam), GET_Y_LPARAM(native.lParam)))
            continue;
        *message = native;
        return TRUE;
    }
}

LRESULT DispatchMessageA(const MSG* message) {
    return message ? SendMessageA(message->hwnd, message->message, message->wParam, message->lParam) : 0;
}

HDC BeginPaint(HWND handle, PAINTSTRUCT* paint) {
    Window* window = WindowOf(handle);
    if (!window || !paint) return nullptr;
    paint->hdc = window->surface;
    paint->fErase = FALSE;
    paint->rcPaint = RECT{0, 0, window->width, window->height};
    window->invalid = false;
    return window->surface;
}

BOOL EndPaint(HWND handle, const PAINTSTRUCT*) {
    Window* window = WindowOf(handle);
    if (!window) return FALSE;
    Backend().Present(handle, window->surface);
    return TRUE;
}

BOOL GetClientRect(HWND handle, RECT* rect) {
    Window* window = WindowOf(handle);
    if (!window || !rect) return FALSE;
    *rect = RECT{0, 0, window->width, window->height};
    return TRUE;
}

BOOL InvalidateRect(HWND handle, const RECT*, BOOL) {
    Window* window = WindowOf(handle);
    if (!window) return FALSE;
    window->invalid = true;
    return TRUE;
}

BOOL UpdateWindow(HWND handle) {
    Window* window = WindowOf(handle);
    if (!window) return FALSE;
    if (window->invalid) SendMessageA(handle, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL ShowWindow(HWND handle, int command) {
    Window* window = WindowOf(handle);
    if (!window) return FALSE;
    const BOOL wasVisible = window->visible ? TRUE : FALSE;
    window->visible = command != SW_HIDE;
    Backend().Show(handle, window->visible);
    return wasVisible;
}

HDC GetDC(HWND handle) {
    Window* window = WindowOf(handle);
    return window ? window->surface : nullptr;
}

// What was drawn on the window's context outside a paint goes on screen now.
int ReleaseDC(HWND handle, HDC) {
    Window* window = WindowOf(handle);
    if (!window) return 0;
    Backend().Present(handle, window->surface);
    return 1;
}

BOOL SetWindowTextA(HWND handle, const char* text) {
    if (!WindowOf(handle)) return FALSE;
    Backend().SetTitle(handle, text ? text : "");
    return TRUE;
}

BOOL KXSetClientSize(HWND handle, int width, int height) {
    Window* window = WindowOf(handle);
    if (!window || width < 0 || height < 0 || !Resize(*window, width, height)) return FALSE;
    Backend().SetClientSize(handle, width, height);
    SendMessageA(handle, WM_SIZE, 0, MAKELPARAM(width, height));
    return TRUE;
}

HDC KXWindowSurface(HWND handle) {
    Window* window = WindowOf(handle);
    return window ? window->surface : nullptr;
}

BOOL KXDisplaySupported(void) { return kxplatform::X11BackendBuilt() ? TRUE : FALSE; }

BOOL KXUseDisplay(const char* display) {
    if (DisplayBackend()) return TRUE;
    if (!Windows().empty()) return FALSE;
    WindowBackend* backend = kxplatform::OpenX11Backend(display);
    if (!backend) return FALSE;
    DisplayBackend().reset(backend);
    return TRUE;
}

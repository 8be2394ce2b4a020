// The native side of windows, below the window layer of winuser.cpp: the
// layer keeps classes, procedures, user data, the message queue and each
// window's raster surface once; a backend only makes native windows, shows
// what was painted and reports what happened on them. Headless (no native
// windows at all) is the default; a program opts in to X11 (KXUseDisplay).
#pragma once

#include <kxplatform/winuser.h>

namespace kxplatform {

class WindowBackend {
public:
    WindowBackend() = default;
    WindowBackend(const WindowBackend&) = delete;
    WindowBackend& operator=(const WindowBackend&) = delete;
    virtual ~WindowBackend() = default;

    // The native window of `window`, with that client size; false when it
    // cannot be made.
    virtual bool Open(HWND window, const char* title, int width, int height) = 0;
    virtual void Close(HWND window) = 0;
    virtual void Show(HWND window, bool visible) = 0;
    virtual void SetTitle(HWND window, const char* title) = 0;
    virtual void SetClientSize(HWND window, int width, int height) = 0;
    // Puts the window's raster surface on screen.
    virtual void Present(HWND window, HDC surface) = 0;
    // Waits for the next thing that happens to a window, as a message: WM_SIZE
    // (client size in the low and high words of lParam), WM_PAINT when part
    // of the window was uncovered, input messages and WM_CLOSE. False when
    // nothing can come any more.
    virtual bool NextMessage(MSG& message) = 0;
};

WindowBackend& HeadlessBackend();
// Null when the display cannot be opened or X11 support was not built.
WindowBackend* OpenX11Backend(const char* display);
bool X11BackendBuilt();

}  // namespace kxplatform

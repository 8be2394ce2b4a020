/* Windows and messages: window classes, windows with a window procedure,
 * subclassing through the window's long values, painting, a message queue.
 * A window is a client area painted into a raster device context (dc.h).
 * Headless by default: a program posts the messages and reads the pixels
 * back. After KXUseDisplay the windows are real X11 windows: the raster is
 * shown on them and their input arrives through GetMessageA. */
#ifndef KXPLATFORM_WINUSER_H
#define KXPLATFORM_WINUSER_H

#include <kxplatform/export.h>
#include <kxplatform/winkeys.h>
#include <kxplatform/wintypes.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef intptr_t LONG_PTR;
typedef LRESULT (*WNDPROC)(HWND, UINT, WPARAM, LPARAM);

#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_SIZE 0x0005
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_KEYDOWN 0x0100
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
#define WM_MOUSEWHEEL 0x020A
#define WM_USER 0x0400

#define MK_LBUTTON 0x0001
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008
#define MK_MBUTTON 0x0010

#define GWLP_WNDPROC (-4)
#define GWLP_USERDATA (-21)

#define SW_HIDE 0
#define SW_SHOW 5

#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define WS_OVERLAPPEDWINDOW 0x00CF0000
#define CW_USEDEFAULT ((int)0x80000000)

/* The client size of a window made with CW_USEDEFAULT. */
#define KX_DEFAULT_CLIENT_WIDTH 640
#define KX_DEFAULT_CLIENT_HEIGHT 480

#define MAKELPARAM(l, h) ((LPARAM)(DWORD)(((WORD)(l)) | (((DWORD)(WORD)(h)) << 16)))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)(((WORD)(l)) | (((DWORD)(WORD)(h)) << 16)))
#define GET_X_LPARAM(lp) ((int)(short)((lp)&0xFFFF))
#define GET_Y_LPARAM(lp) ((int)(short)(((lp) >> 16) & 0xFFFF))

typedef struct tagWNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HANDLE hIcon;
    HANDLE hCursor;
    HBRUSH hbrBackground;
    const char* lpszMenuName;
    const char* lpszClassName;
    HANDLE hIconSm;
} WNDCLASSEXA;

typedef struct tagPAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
} PAINTSTRUCT;

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
} MSG;

/* 0 when the name is missing or already registered. */
KXPLATFORM_API WORD RegisterClassExA(const WNDCLASSEXA* windowClass);
/* Sends WM_CREATE, then WM_SIZE. Null for an unknown class. */
KXPLATFORM_API HWND CreateWindowExA(DWORD exStyle, const char* className, const char* title,
                                    DWORD style, int x, int y, int width, int height,
                                    HWND parent, HANDLE menu, HINSTANCE instance, void* param);
/* Sends WM_DESTROY, then frees the window. */
KXPLATFORM_API BOOL DestroyWindow(HWND window);
KXPLATFORM_API BOOL IsWindow(HWND window);
KXPLATFORM_API LRESULT DefWindowProcA(HWND window, UINT message, WPARAM w, LPARAM l);
KXPLATFORM_API LRESULT CallWindowProcA(WNDPROC proc, HWND window, UINT message, WPARAM w, LPARAM l);
KXPLATFORM_API LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value);
KXPLATFORM_API LONG_PTR GetWindowLongPtrA(HWND window, int index);
KXPLATFORM_API LRESULT SendMessageA(HWND window, UINT message, WPARAM w, LPARAM l);
KXPLATFORM_API BOOL PostMessageA(HWND window, UINT message, WPARAM w, LPARAM l);
KXPLATFORM_API void PostQuitMessage(int code);
/* The next posted message; 0 for WM_QUIT, and when nothing is left to do
 * (no posted message and no window waiting for paint). */
KXPLATFORM_API BOOL GetMessageA(MSG* message, HWND window, UINT first, UINT last);
KXPLATFORM_API LRESULT DispatchMessageA(const MSG* message);
KXPLATFORM_API HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
KXPLATFORM_API BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
KXPLATFORM_API BOOL GetClientRect(HWND window, RECT* rect);
KXPLATFORM_API BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
KXPLATFORM_API BOOL UpdateWindow(HWND window);
KXPLATFORM_API BOOL ShowWindow(HWND window, int command);
KXPLATFORM_API HDC GetDC(HWND window);
/* Puts on screen what was drawn on the context since GetDC. */
KXPLATFORM_API int ReleaseDC(HWND window, HDC dc);
KXPLATFORM_API BOOL SetWindowTextA(HWND window, const char* text);

/* Resizes the client area (sends WM_SIZE, invalidates) and gives
 * the raster context the window paints into. */
KXPLATFORM_API BOOL KXSetClientSize(HWND window, int width, int height);
KXPLATFORM_API HDC KXWindowSurface(HWND window);

/* TRUE when the layer was built with X11 support. */
KXPLATFORM_API BOOL KXDisplaySupported(void);
/* Windows made from now on are X11 windows on that display (null: the
 * DISPLAY variable). FALSE when the display cannot be opened, X11 support
 * was not built, or headless windows exist already. */
KXPLATFORM_API BOOL KXUseDisplay(const char* display);

#ifdef __cplusplus
}
#endif

#endif

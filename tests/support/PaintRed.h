// Answers WM_PAINT by filling what needs painting with red: window tests
// look for the red to see that a paint reached the window.
#pragma once

#include <kxplatform/gdi.h>
#include <kxplatform/winuser.h>

inline void PaintRed(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &paint.rcPaint, red);
    DeleteObject(red);
    EndPaint(window, &paint);
}

// The headless window layer: classes, procedures, subclassing, painting and
// the message queue.
#include <gtest/gtest.h>

#include <kxplatform/dc.h>
#include <kxplatform/gdi.h>
#include <kxplatform/winuser.h>

#include <vector>

#include "support/PaintRed.h"

namespace {

std::vector<UINT> g_seen;

LRESULT RecordingProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    g_seen.push_back(message);
    if (message == WM_PAINT) {
        PaintRed(window);
        return 0;
    }
    return DefWindowProcA(window, message, w, l);
}

WNDPROC g_replaced = nullptr;

LRESULT Subclass(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_USER) return 7;
    return CallWindowProcA(g_replaced, window, message, w, l);
}

HWND MakeWindow(int width, int height) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA windowClass{};
        windowClass.lpfnWndProc = &RecordingProc;
        windowClass.lpszClassName = "KXWindowTest";
        registered = RegisterClassExA(&windowClass) != 0;
    }
    return CreateWindowExA(0, "KXWindowTest", "t", 0, 0, 0, width, height, nullptr, nullptr, nullptr, nullptr);
}

TEST(Window, CreationSendsCreateAndSizeAndPaintFillsTheSurface) {
    g_seen.clear();
    HWND window = MakeWindow(30, 20);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(g_seen, (std::vector<UINT>{WM_CREATE, WM_SIZE}));
    RECT client;
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.right, 30);
    EXPECT_EQ(client.bottom, 20);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    EXPECT_EQ(KXGetRasterPixel(KXWindowSurface(window), 29, 19), RGB(255, 0, 0));
    g_seen.clear();
    UpdateWindow(window);
    EXPECT_TRUE(g_seen.empty()) << "a valid window is not painted again";
    DestroyWindow(window);
    EXPECT_EQ(g_seen, std::vector<UINT>{WM_DESTROY});
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(SendMessageA(window, WM_USER, 0, 0), 0) << "a destroyed window takes no messages";
}

TEST(Window, SubclassingAndUserData) {
    HWND window = MakeWindow(10, 10);
    g_replaced = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass)));
    EXPECT_EQ(g_replaced, &RecordingProc);
    EXPECT_EQ(SendMessageA(window, WM_USER, 0, 0), 7);
    g_seen.clear();
    SendMessageA(window, WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(g_seen, std::vector<UINT>{WM_KEYDOWN}) << "passed on to the replaced procedure";
    SetWindowLongPtrA(window, GWLP_USERDATA, 42);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), 42);
    DestroyWindow(window);
}

TEST(Window, TheMessageLoopEndsAtQuitOrWhenNothingIsLeft) {
    HWND window = MakeWindow(10, 10);
    PostMessageA(window, WM_KEYDOWN, 'X', 0);
    PostQuitMessage(0);
    PostMessageA(window, WM_KEYDOWN, 'Z', 0);
    MSG message;
    int dispatched = 0;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        DispatchMessageA(&message);
        ++dispatched;
    }
    EXPECT_EQ(dispatched, 1);
    ASSERT_TRUE(GetMessageA(&message, nullptr, 0, 0));
    EXPECT_EQ(message.wParam, static_cast<WPARAM>('Z'));
    EXPECT_FALSE(GetMessageA(&message, nullptr, 0, 0)) << "hidden: nothing to paint";
    EXPECT_TRUE(KXSetClientSize(window, 40, 30));
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 40);
    DestroyWindow(window);
}

TEST(Window, ContextsTitlesAndTheDisplayChoice) {
    HWND window = MakeWindow(12, 12);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    HDC dc = GetDC(window);
    ASSERT_EQ(dc, KXWindowSurface(window));
    const RECT band{0, 0, 6, 6};
    DrawFocusRect(dc, &band);
    EXPECT_EQ(ReleaseDC(window, dc), 1);
    EXPECT_EQ(KXGetRasterPixel(dc, 0, 0), RGB(0, 255, 255)) << "the focus rectangle inverts";
    EXPECT_EQ(KXGetRasterPixel(dc, 1, 0), RGB(255, 0, 0)) << "every other pixel";
    EXPECT_TRUE(SetWindowTextA(window, "renamed"));
    EXPECT_TRUE(SetWindowTextA(window, nullptr));
    // Windows already made stay headless: the program chooses the display
    // before making any.
    EXPECT_FALSE(KXUseDisplay(nullptr));
    DestroyWindow(window);
    EXPECT_FALSE(SetWindowTextA(window, "gone"));
    EXPECT_EQ(ReleaseDC(window, dc), 0);
}

}  // namespace

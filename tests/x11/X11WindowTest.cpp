// The window layer on a real X server (run under Xvfb): X events arrive as
// the window messages, what is painted or drawn with GetDC shows on the X
// window, resizing, titles and closing work. A second X connection of the
// test plays the user and the window manager.
#include <gtest/gtest.h>

#include <kxplatform/dc.h>
#include <kxplatform/gdi.h>
#include <kxplatform/winuser.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "support/PaintRed.h"

#include "XClient.h"

#include <X11/keysym.h>

namespace {

std::vector<MSG> g_seen;

LRESULT RecordingProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_PAINT) {
        PaintRed(window);
        return 0;
    }
    g_seen.push_back(MSG{window, message, w, l});
    return DefWindowProcA(window, message, w, l);
}


class X11Window : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(KXDisplaySupported());
        ASSERT_TRUE(KXUseDisplay(nullptr)) << "run under with_xvfb.sh";
        WNDCLASSEXA windowClass{};
        windowClass.lpfnWndProc = &RecordingProc;
        windowClass.lpszClassName = "KXX11Test";
        RegisterClassExA(&windowClass);
    }

    // A shown window of ours and its X window (0 when either is missing).
    std::pair<HWND, Window> Open(const char* title, int width, int height) {
        HWND window = CreateWindowExA(0, "KXX11Test", title, 0, 0, 0, width, height, nullptr, nullptr, nullptr,
                                      nullptr);
        if (window) {
            ShowWindow(window, SW_SHOW);
            UpdateWindow(window);
            m_windows.push_back(window);
        }
        g_seen.clear();
        return {window, window ? m_client.Find(title) : 0};
    }

    // Dispatches messages until one satisfies `done`; what came before it
    // stays in g_seen.
    static bool PumpUntil(const std::function<bool(const MSG&)>& done) {
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0)) {
            DispatchMessageA(&message);
            if (done(message)) return true;
        }
        return false;
    }

    // Sends one event, then F12 as a marker, and returns the messages that
    // arrived before the marker.
    std::vector<MSG> Deliver(const std::function<void()>& send, Window window) {
        g_seen.clear();
        send();
        m_client.Key(window, XK_F12);
        PumpUntil([](const MSG& m) { return m.message == WM_KEYDOWN && m.wParam == VK_F1 + 11; });
        std::vector<MSG> before(g_seen.begin(), g_seen.end() - 1);
        return before;
    }

    // A test that stops early leaves no window behind to keep the next
    // one's message loop going.
    void TearDown() override {
        for (HWND window : m_windows)
            if (IsWindow(window)) DestroyWindow(window);
    }

    XClient m_client;
    std::vector<HWND> m_windows;
};

TEST_F(X11Window, KeysBecomeVirtualKeyCodes) {
    const auto [window, xWindow] = Open("kx-x11-keys", 200, 150);
    const Window x = xWindow;  // lambdas capture variables, not bindings
    ASSERT_NE(x, 0u);
    const std::vector<std::pair<KeySym, WPARAM>> keys = {
        {XK_Left, VK_LEFT},       {XK_Right, VK_RIGHT}, {XK_Up, VK_UP},     {XK_Down, VK_DOWN},
        {XK_KP_Add, VK_ADD},      {XK_KP_Subtract, VK_SUBTRACT},            {XK_x, 'X'},
        {XK_z, 'Z'},              {XK_Home, VK_HOME},   {XK_BackSpace, VK_BACK},
        {XK_Escape, VK_ESCAPE},   {XK_minus, VK_OEM_MINUS},                 {XK_3, '3'}};
    for (const auto& [symbol, code] : keys) {
        const auto seen = Deliver([&] { m_client.Key(x, symbol); }, x);
        ASSERT_EQ(seen.size(), 1u) << XKeysymToString(symbol);
        EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_KEYDOWN));
        EXPECT_EQ(seen[0].wParam, code) << XKeysymToString(symbol);
    }
    const auto unmapped = Deliver([&] { m_client.Key(x, XK_Scroll_Lock); }, x);
    EXPECT_TRUE(unmapped.empty()) << "keys without a code are dropped";
    DestroyWindow(window);
}

TEST_F(X11Window, ButtonsWheelAndMovesBecomeMouseMessages) {
    const auto [window, xWindow] = Open("kx-x11-mouse", 200, 150);
    const Window x = xWindow;  // lambdas capture variables, not bindings
    ASSERT_NE(x, 0u);

    auto one = [&](const std::function<void()>& send) {
        const auto seen = Deliver(send, x);
        EXPECT_EQ(seen.size(), 1u);
        return seen.empty() ? MSG{} : seen[0];
    };
    MSG m = one([&] { m_client.Button(x, ButtonPress, Button1, 30, 40); });
    EXPECT_EQ(m.message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(GET_X_LPARAM(m.lParam), 30);
    EXPECT_EQ(GET_Y_LPARAM(m.lParam), 40);
    m = one([&] { m_client.Motion(x, 50, 60, Button1Mask); });
    EXPECT_EQ(m.message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(m.wParam & MK_LBUTTON, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(GET_X_LPARAM(m.lParam), 50);
    m = one([&] { m_client.Button(x, ButtonRelease, Button1, 55, 65, Button1Mask); });
    EXPECT_EQ(m.message, static_cast<UINT>(WM_LBUTTONUP));
    m = one([&] { m_client.Button(x, ButtonPress, Button2, 5, 6); });
    EXPECT_EQ(m.message, static_cast<UINT>(WM_MBUTTONDOWN));
    m = one([&] { m_client.Button(x, ButtonRelease, Button2, 5, 6, Button2Mask); });
    EXPECT_EQ(m.message, static_cast<UINT>(WM_MBUTTONUP));

    // One wheel click is one notch of 120 in the high word: forward
    // positive, backward negative; the click's release means nothing.
    m = one([&] { m_client.Button(x, ButtonPress, Button4, 10, 20); });
    EXPECT_EQ(m.message, static_cast<UINT>(WM_MOUSEWHEEL));
    EXPECT_EQ(static_cast<short>((m.wParam >> 16) & 0xFFFF), 120);
    m = one([&] { m_client.Button(x, ButtonPress, Button5, 10, 20); });
    EXPECT_EQ(m.message, static_cast<UINT>(WM_MOUSEWHEEL));
    EXPECT_EQ(static_cast<short>((m.wParam >> 16) & 0xFFFF), -120);
    EXPECT_TRUE(Deliver([&] { m_client.Button(x, ButtonRelease, Button4, 10, 20); }, x).empty());
    EXPECT_TRUE(Deliver([&] { m_client.Button(x, ButtonPress, Button3, 10, 20); }, x).empty())
        << "the right button is not handled";
    DestroyWindow(window);
}

TEST_F(X11Window, PaintAndFocusRectangleShowOnTheWindow) {
    const auto [window, xWindow] = Open("kx-x11-paint", 120, 80);
    const Window x = xWindow;  // lambdas capture variables, not bindings
    ASSERT_NE(x, 0u);
    EXPECT_EQ(m_client.PixelBecomes(x, 60, 40, RGB(255, 0, 0)), RGB(255, 0, 0));
    // The rubber band is drawn outside a paint, by exclusive or.
    HDC dc = GetDC(window);
    const RECT band{10, 10, 50, 40};
    DrawFocusRect(dc, &band);
    ReleaseDC(window, dc);
    EXPECT_EQ(m_client.PixelBecomes(x, 10, 10, RGB(0, 255, 255)), RGB(0, 255, 255));
    dc = GetDC(window);
    DrawFocusRect(dc, &band);
    ReleaseDC(window, dc);
    EXPECT_EQ(m_client.PixelBecomes(x, 10, 10, RGB(255, 0, 0)), RGB(255, 0, 0)) << "drawn twice, it is gone";
    DestroyWindow(window);
}

TEST_F(X11Window, ResizeSendsSizeAndRepaintsAndTitlesChange) {
    const auto [window, xWindow] = Open("kx-x11-size", 100, 100);
    const Window x = xWindow;  // lambdas capture variables, not bindings
    ASSERT_NE(x, 0u);
    XResizeWindow(m_client.display(), x, 300, 200);
    XSync(m_client.display(), False);
    ASSERT_TRUE(PumpUntil([](const MSG& m) { return m.message == WM_SIZE; }));
    EXPECT_EQ(GET_X_LPARAM(g_seen.back().lParam), 300);
    EXPECT_EQ(GET_Y_LPARAM(g_seen.back().lParam), 200);
    RECT client{};
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    ASSERT_TRUE(PumpUntil([](const MSG& m) { return m.message == WM_PAINT; })) << "a resized window repaints";
    EXPECT_EQ(KXGetRasterPixel(KXWindowSurface(window), 299, 199), RGB(255, 0, 0));
    EXPECT_EQ(m_client.PixelBecomes(x, 299, 199, RGB(255, 0, 0)), RGB(255, 0, 0));

    ASSERT_TRUE(SetWindowTextA(window, "kx-x11-renamed"));
    EXPECT_TRUE(m_client.TitleBecomes(x, "kx-x11-renamed"));
    DestroyWindow(window);
}

TEST_F(X11Window, ClosingDestroysAndTheLoopEndsWithTheLastWindow) {
    const auto [window, xWindow] = Open("kx-x11-close", 100, 100);
    const Window x = xWindow;  // lambdas capture variables, not bindings
    ASSERT_NE(x, 0u);
    m_client.Close(x);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) DispatchMessageA(&message);
    ASSERT_GE(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[g_seen.size() - 2].message, static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(g_seen.back().message, static_cast<UINT>(WM_DESTROY));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(m_client.Gone(x)) << "the X window is destroyed";
}

}  // namespace

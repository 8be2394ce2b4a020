// Views in windows of the headless backend: messages in, pixels out.
#include <gtest/gtest.h>

#include <korvex/kxcore.h>
#include <kxplatform/dc.h>
#include <kxplatform/winuser.h>

#include <memory>
#include <vector>

#include "CKXDoc.h"
#include "CKXLine.h"
#include "render/view/CKXView.h"

namespace {

// A document with one horizontal line across the middle of 0..100.
KXDOC LineDoc() {
    auto* doc = new CKXDoc;
    const double a[2] = {0, 50}, b[2] = {100, 50};
    KXAddLine(doc, a, b, nullptr, nullptr);
    KXClose(doc, 0);
    return doc;
}

int DarkPixels(HDC dc, int width, int height) {
    int dark = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (KXGetRasterPixel(dc, x, y) == RGB(0, 0, 0)) ++dark;
    return dark;
}

TEST(ViewWindow, OwnWindowPaintsTheDocumentAndAnswersTheWheel) {
    KXVIEW view = KXCreateView(LineDoc(), nullptr, 0);
    ASSERT_NE(view, nullptr);
    HWND window = static_cast<CKXView*>(view)->Window();
    ASSERT_NE(window, nullptr);
    KXViewSetDocDelete(view, 1);
    KXViewShow(view);
    HDC surface = KXWindowSurface(window);
    EXPECT_GT(DarkPixels(surface, KX_DEFAULT_CLIENT_WIDTH, KX_DEFAULT_CLIENT_HEIGHT), 100);

    KXViewCreateTool(view, 2);
    PostMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) DispatchMessageA(&message);
    EXPECT_EQ(KXViewBkwZoomAvailable(view), 1);
    // Destroying the window of a view that owns its document frees both
    // (checked by the sanitizer builds).
    DestroyWindow(window);
    EXPECT_FALSE(IsWindow(window));
}

std::vector<UINT> g_hostMessages;

LRESULT HostProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    g_hostMessages.push_back(message);
    return DefWindowProcA(window, message, w, l);
}

TEST(ViewWindow, ASubclassedHostKeepsItsOtherMessages) {
    WNDCLASSEXA host{};
    host.lpfnWndProc = &HostProc;
    host.lpszClassName = "KXTestHost";
    RegisterClassExA(&host);
    HWND window = CreateWindowExA(0, "KXTestHost", "host", 0, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    KXDOC doc = LineDoc();
    KXVIEW view = KXCreateView(doc, window, 0);
    g_hostMessages.clear();
    SendMessageA(window, WM_USER, 0, 0);
    SendMessageA(window, WM_KEYDOWN, 'X', 0);
    EXPECT_EQ(g_hostMessages, std::vector<UINT>{WM_USER});
    KXViewDelete(view);  // gives the procedure back
    SendMessageA(window, WM_KEYDOWN, 'X', 0);
    EXPECT_EQ(g_hostMessages, (std::vector<UINT>{WM_USER, WM_KEYDOWN}));
    DestroyWindow(window);
    KXDeleteDocInstance(doc);
}

}  // namespace

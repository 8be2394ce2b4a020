// Windows without a display: nothing native to make or show, and nothing
// happens to a window unless the program sends or posts it.
#include "WindowBackend.h"

namespace kxplatform {

namespace {

class HeadlessWindows final : public WindowBackend {
public:
    bool Open(HWND, const char*, int, int) override { return true; }
    void Close(HWND) override {}
    void Show(HWND, bool) override {}
    void SetTitle(HWND, const char*) override {}
    void SetClientSize(HWND, int, int) override {}
    void Present(HWND, HDC) override {}
    bool NextMessage(MSG&) override { return false; }
};

}  // namespace

WindowBackend& HeadlessBackend() {
    static HeadlessWindows backend;
    return backend;
}

}  // namespace kxplatform

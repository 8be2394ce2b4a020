// Windows on an X11 display: one X window per window, its raster surface put
// on it with XPutImage, and the X events turned into window messages.
#include <kxplatform/winuser.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <new>
#include <vector>

#include "../RasterBits.h"
#include "../WindowBackend.h"

// Xlib defines macros (Bool, Status, None...) that would collide with the
// names of the layer: it comes last.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace kxplatform {

namespace {

constexpr int kWheelNotch = 120;

// A colour channel (0..255) placed under a TrueColor visual's mask.
class Channel {
public:
    explicit Channel(unsigned long mask) {
        while (mask != 0 && (mask & 1UL) == 0) {
            mask >>= 1;
            ++m_shift;
        }
        while ((mask & 1UL) != 0) {
            mask >>= 1;
            ++m_bits;
        }
    }
    unsigned long Place(std::uint8_t value) const {
        const unsigned long scaled = m_bits >= 8 ? static_cast<unsigned long>(value) << (m_bits - 8)
                                                 : static_cast<unsigned long>(value) >> (8 - m_bits);
        return scaled << m_shift;
    }

private:
    int m_shift = 0;
    int m_bits = 0;
};

int VirtualKey(KeySym key) {
    if (key >= XK_a && key <= XK_z) return static_cast<int>(key - XK_a) + 'A';
    if (key >= XK_A && key <= XK_Z) return static_cast<int>(key - XK_A) + 'A';
    if (key >= XK_0 && key <= XK_9) return static_cast<int>(key - XK_0) + '0';
    if (key >= XK_F1 && key <= XK_F12) return static_cast<int>(key - XK_F1) + VK_F1;
    switch (key) {
    case XK_BackSpace: return VK_BACK;
    case XK_Tab: return VK_TAB;
    case XK_Return:
    case XK_KP_Enter: return VK_RETURN;
    case XK_Escape: return VK_ESCAPE;
    case XK_space: return VK_SPACE;
    case XK_Prior:
    case XK_KP_Prior: return VK_PRIOR;
    case XK_Next:
    case XK_KP_Next: return VK_NEXT;
    case XK_End:
    case XK_KP_End: return VK_END;
    case XK_Home:
    case XK_KP_Home: return VK_HOME;
    case XK_Left:
    case XK_KP_Left: return VK_LEFT;
    case XK_Up:
    case XK_KP_Up: return VK_UP;
    case XK_Right:
    case XK_KP_Right: return VK_RIGHT;
    case XK_Down:
    case XK_KP_Down: return VK_DOWN;
    case XK_KP_Add: return VK_ADD;
    case XK_KP_Subtract: return VK_SUBTRACT;
    case XK_plus:
    case XK_equal: return VK_OEM_PLUS;
    case XK_minus: return VK_OEM_MINUS;
    case XK_Shift_L:
    case XK_Shift_R: return VK_SHIFT;
    case XK_Control_L:
    case XK_Control_R: return VK_CONTROL;
    default: return 0;
    }
}

WPARAM KeyState(unsigned int state) {
    WPARAM keys = 0;
    if ((state & Button1Mask) != 0) keys |= MK_LBUTTON;
    if ((state & Button2Mask) != 0) keys |= MK_MBUTTON;
    if ((state & ShiftMask) != 0) keys |= MK_SHIFT;
    if ((state & ControlMask) != 0) keys |= MK_CONTROL;
    return keys;
}

class X11Windows final : public WindowBackend {
public:
    explicit X11Windows(Display* display)
        : m_display(display), m_screen(DefaultScreen(display)), m_visual(DefaultVisual(display, m_screen)),
          m_depth(DefaultDepth(display, m_screen)), m_red(m_visual->red_mask), m_green(m_visual->green_mask),
          m_blue(m_visual->blue_mask), m_protocols(XInternAtom(display, "WM_PROTOCOLS", False)),
          m_deleteWindow(XInternAtom(display, "WM_DELETE_WINDOW", False)) {}

    ~X11Windows() override {
        for (auto& entry : m_windows) Free(entry.second);
        XCloseDisplay(m_display);
    }

    bool Open(HWND window, const char* title, int width, int height) override {
        XSetWindowAttributes attributes{};
        // No background: the window shows the last painted picture until the
        // next paint instead of flashing white.
        attributes.background_pixmap = None;
        attributes.event_mask = ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask |
                                PointerMotionMask | StructureNotifyMask;
        const ::Window id = XCreateWindow(m_display, RootWindow(m_display, m_screen), 0, 0,
                                          static_cast<unsigned>(width), static_cast<unsigned>(height), 0, m_depth,
                                          InputOutput, m_visual, CWBackPixmap | CWEventMask, &attributes);
        if (id == 0) return false;
        Atom protocols[] = {m_deleteWindow};
        XSetWMProtocols(m_display, id, protocols, 1);
        XStoreName(m_display, id, title);
        Native native;
        native.id = id;
        native.gc = XCreateGC(m_display, id, 0, nullptr);
        native.width = width;
        native.height = height;
        m_windows[window] = native;
        m_handles[id] = window;
        return true;
    }

    void Close(HWND window) override {
        const auto found = m_windows.find(window);
        if (found == m_windows.end()) return;
        m_handles.erase(found->second.id);
        Free(found->second);
        m_windows.erase(found);
        XFlush(m_display);
    }

    void Show(HWND window, bool visible) override {
        if (const Native* native = Find(window)) {
            if (visible)
                XMapWindow(m_display, native->id);
            else
                XUnmapWindow(m_display, native->id);
            XFlush(m_display);
        }
    }

    void SetTitle(HWND window, const char* title) override {
        if (const Native* native = Find(window)) {
            XStoreName(m_display, native->id, title);
            XFlush(m_display);
        }
    }

    void SetClientSize(HWND window, int width, int height) override {
        if (Native* native = Find(window)) {
            native->width = width;
            native->height = height;
            XResizeWindow(m_display, native->id, static_cast<unsigned>(std::max(width, 1)),
                          static_cast<unsigned>(std::max(height, 1)));
            XFlush(m_display);
        }
    }

    void Present(HWND window, HDC surface) override {
        Native* native = Find(window);
        RasterBits bits;
        if (!native || !GetRasterBits(surface, bits) || bits.width < 1 || bits.height < 1) return;
        XImage* image = XCreateImage(m_display, m_visual, static_cast<unsigned>(m_depth), ZPixmap, 0, nullptr,
                                     static_cast<unsigned>(bits.width), static_cast<unsigned>(bits.height), 32, 0);
        if (!image) return;
        try {
            native->buffer.resize(static_cast<std::size_t>(image->bytes_per_line) *
                                  static_cast<std::size_t>(bits.height));
        } catch (const std::bad_alloc&) {
            XDestroyImage(image);
            return;
        }
        image->data = native->buffer.data();
        Convert(bits, *image);
        XPutImage(m_display, native->id, native->gc, image, 0, 0, 0, 0, static_cast<unsigned>(bits.width),
                  static_cast<unsigned>(bits.height));
        image->data = nullptr;  // the buffer is ours
        XDestroyImage(image);
        XFlush(m_display);
    }

    bool NextMessage(MSG& message) override {
        while (!m_windows.empty()) {
            XEvent event;
            XNextEvent(m_display, &event);
            if (Translate(event, message)) return true;
        }
        return false;
    }

private:
    struct Native {
        ::Window id = 0;
        GC gc = nullptr;
        int width = 0;
        int height = 0;
        std::vector<char> buffer;
    };

    Native* Find(HWND window) {
        const auto found = m_windows.find(window);
        return found != m_windows.end() ? &found->second : nullptr;
    }

    void Free(Native& native) {
        XFreeGC(m_display, native.gc);
        XDestroyWindow(m_display, native.id);
    }

    void Convert(const RasterBits& bits, XImage& image) const {
        const bool direct = image.bits_per_pixel == 32 && image.byte_order == NativeByteOrder();
        for (int y = 0; y < bits.height; ++y) {
            const std::uint8_t* from = bits.pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(bits.width) * 4;
            char* row = image.data + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.bytes_per_line);
            for (int x = 0; x < bits.width; ++x, from += 4) {
                const unsigned long pixel = m_red.Place(from[0]) | m_green.Place(from[1]) | m_blue.Place(from[2]);
                if (direct) {
                    const auto word = static_cast<std::uint32_t>(pixel);
                    std::memcpy(row + static_cast<std::size_t>(x) * 4, &word, 4);
                } else {
                    XPutPixel(&image, x, y, pixel);
                }
            }
        }
    }

    static int NativeByteOrder() {
        const std::uint16_t probe = 1;
        std::uint8_t first;
        std::memcpy(&first, &probe, 1);
        return first == 1 ? LSBFirst : MSBFirst;
    }

    bool Translate(XEvent& event, MSG& message) {
        const auto found = m_handles.find(event.xany.window);
        if (found == m_handles.end()) return false;
        message = MSG{found->second, 0, 0, 0};
        switch (event.type) {
        case Expose:
            if (event.xexpose.count != 0) return false;
            message.message = WM_PAINT;
            return true;
        case ConfigureNotify: {
            Native& native = m_windows[found->second];
            if (event.xconfigure.width == native.width && event.xconfigure.height == native.height) return false;
            native.width = event.xconfigure.width;
            native.height = event.xconfigure.height;
            message.message = WM_SIZE;
            message.lParam = MAKELPARAM(native.width, native.height);
            return true;
        }
        case KeyPress: {
            const int key = VirtualKey(KeysymOf(event.xkey));
            if (key == 0) return false;
            message.message = WM_KEYDOWN;
            message.wParam = static_cast<WPARAM>(key);
            return true;
        }
        case ButtonPress:
        case ButtonRelease: return TranslateButton(event.xbutton, message);
        case MotionNotify:
            // Only the latest position of a run of moves matters.
            while (XCheckTypedWindowEvent(m_display, event.xmotion.window, MotionNotify, &event)) {
            }
            message.message = WM_MOUSEMOVE;
            message.wParam = KeyState(event.xmotion.state);
            message.lParam = MAKELPARAM(event.xmotion.x, event.xmotion.y);
            return true;
        case ClientMessage:
            if (event.xclient.message_type != m_protocols ||
                static_cast<Atom>(event.xclient.data.l[0]) != m_deleteWindow)
                return false;
            message.message = WM_CLOSE;
            return true;
        default: return false;
        }
    }

    // The key as typed (keypad keys follow Num Lock), falling back to the
    // unshifted symbol.
    static KeySym KeysymOf(XKeyEvent& key) {
        KeySym symbol = NoSymbol;
        char text[8];
        XLookupString(&key, text, sizeof text, &symbol, nullptr);
        return symbol != NoSymbol ? symbol : XLookupKeysym(&key, 0);
    }

    static bool TranslateButton(const XButtonEvent& button, MSG& message) {
        const bool down = button.type == ButtonPress;
        message.wParam = KeyState(button.state);
        message.lParam = MAKELPARAM(button.x, button.y);
        switch (button.button) {
        case Button1: message.message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
        case Button2: message.message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
        case Button4:
        case Button5:
            if (!down) return false;
            // The wheel reports screen coordinates and the delta in the
            // high word, as one notch of 120 per click.
            message.message = WM_MOUSEWHEEL;
            message.wParam = MAKEWPARAM(KeyState(button.state),
                                        button.button == Button4 ? kWheelNotch : -kWheelNotch);
            message.lParam = MAKELPARAM(button.x_root, button.y_root);
            break;
        default: return false;
        }
        return true;
    }

    Display* m_display;
    int m_screen;
    Visual* m_visual;
    int m_depth;
    Channel m_red;
    Channel m_green;
    Channel m_blue;
    Atom m_protocols;
    Atom m_deleteWindow;
    std::map<HWND, Native> m_windows;
    std::map<::Window, HWND> m_handles;
};

}  // namespace

bool X11BackendBuilt() { return true; }

WindowBackend* OpenX11Backend(const char* name) {
    Display* display = XOpenDisplay(name);
    if (!display) return nullptr;
    const Visual* visual = DefaultVisual(display, DefaultScreen(display));
    // The surface is shown pixel by pixel in true colour.
    if (visual->c_class != TrueColor && visual->c_class != DirectColor) {
        XCloseDisplay(display);
        return nullptr;
    }
    X11Windows* backend = new (std::nothrow) X11Windows(display);
    if (!backend) XCloseDisplay(display);
    return backend;
}

}  // namespace kxplatform

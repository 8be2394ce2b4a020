// Playing the user of a window on an X display, for the tests that drive
// windows of another connection or process.
#pragma once

#include <kxplatform/gdi.h>

#include <functional>
#include <string>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

constexpr int kPollMicroseconds = 50 * 1000;
constexpr int kPolls = 40;

// A second connection to the display: finds a window by its title and sends
// it what a user or a window manager would. Requests of another connection
// reach the server in their own time, so what it looks for is polled for
// up to two seconds.
class XClient {
public:
    XClient() : m_display(XOpenDisplay(nullptr)) {}
    ~XClient() {
        if (m_display) XCloseDisplay(m_display);
    }
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;

    Display* display() const { return m_display; }

    // The window with that title, waiting up to two seconds for the other
    // connection's requests to reach the server.
    Window Find(const std::string& title) const {
        return FindWhere([&](const std::string& name) { return name == title; });
    }
    Window FindWhere(const std::function<bool(const std::string&)>& wanted) const {
        Window found = 0;
        for (int i = 0; i < kPolls && found == 0; ++i) {
            if (i > 0) usleep(kPollMicroseconds);
            found = Find(DefaultRootWindow(m_display), wanted);
        }
        return found;
    }

    bool Gone(Window window) const {
        for (int i = 0; i < kPolls; ++i) {
            Window root = 0, parent = 0, *children = nullptr;
            unsigned count = 0;
            bool present = false;
            if (XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count)) {
                for (unsigned c = 0; c < count; ++c) present = present || children[c] == window;
                if (children) XFree(children);
            }
            if (!present) return true;
            usleep(kPollMicroseconds);
        }
        return false;
    }

    bool TitleBecomes(Window window, const std::string& title) const {
        for (int i = 0; i < kPolls; ++i) {
            if (Title(window) == title) return true;
            usleep(kPollMicroseconds);
        }
        return false;
    }

    std::string Title(Window window) const {
        char* name = nullptr;
        std::string title;
        if (XFetchName(m_display, window, &name) && name) {
            title = name;
            XFree(name);
        }
        return title;
    }

    void Key(Window window, KeySym symbol) const {
        XEvent event{};
        event.xkey.type = KeyPress;
        Fill(event.xkey, window);
        event.xkey.keycode = XKeysymToKeycode(m_display, symbol);
        Send(window, KeyPressMask, event);
    }

    void Button(Window window, int type, unsigned button, int x, int y, unsigned state = 0) const {
        XEvent event{};
        event.xbutton.type = type;
        Fill(event.xbutton, window);
        event.xbutton.button = button;
        event.xbutton.state = state;
        event.xbutton.x = event.xbutton.x_root = x;
        event.xbutton.y = event.xbutton.y_root = y;
        Send(window, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, event);
    }

    void Motion(Window window, int x, int y, unsigned state) const {
        XEvent event{};
        event.xmotion.type = MotionNotify;
        Fill(event.xmotion, window);
        event.xmotion.state = state;
        event.xmotion.x = event.xmotion.x_root = x;
        event.xmotion.y = event.xmotion.y_root = y;
        Send(window, PointerMotionMask, event);
    }

    void Close(Window window) const {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(m_display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
        Send(window, NoEventMask, event);
    }

    // The colour at (x, y) once it is `wanted`, waiting up to two seconds
    // for the other connection's drawing to reach the server.
    COLORREF PixelBecomes(Window window, int x, int y, COLORREF wanted) const {
        COLORREF colour = CLR_INVALID;
        for (int i = 0; i < kPolls && colour != wanted; ++i) {
            if (i > 0) usleep(kPollMicroseconds);
            XImage* image = XGetImage(m_display, window, x, y, 1, 1, AllPlanes, ZPixmap);
            if (!image) continue;
            const unsigned long pixel = XGetPixel(image, 0, 0);
            colour = RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
            XDestroyImage(image);
        }
        return colour;
    }

private:
    template <typename Event>
    void Fill(Event& event, Window window) const {
        event.display = m_display;
        event.window = window;
        event.root = DefaultRootWindow(m_display);
        event.same_screen = True;
    }

    void Send(Window window, long mask, XEvent& event) const {
        XSendEvent(m_display, window, False, mask, &event);
        XSync(m_display, False);
    }

    Window Find(Window under, const std::function<bool(const std::string&)>& wanted) const {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(m_display, under, &root, &parent, &children, &count)) return 0;
        Window found = 0;
        for (unsigned i = 0; i < count && found == 0; ++i)
            found = wanted(Title(children[i])) ? children[i] : Find(children[i], wanted);
        if (children) XFree(children);
        return found;
    }

    Display* m_display;
};

// Drives a running kxview on an X display the way a person would and checks
// what it shows: waits for its window, grabs it (XGetImage), requires ink,
// then sends (XSendEvent) a wheel notch, X, a bookmark and Home, the next
// bookmark, B(ack), a left-button zoom box and a middle-button pan, and
// requires the picture to change after each and to come back where it
// must; finally closes the window as a window manager does.
// Screenshots are written as PNG into the given folder.
//
// kxview_xprobe SHOT_FOLDER
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <png.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kPollMicroseconds = 50 * 1000;
constexpr int kPolls = 200;  // 10 s

struct Shot {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    long Ink() const {
        long ink = 0;
        for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
            if (rgb[i] < 200 || rgb[i + 1] < 200 || rgb[i + 2] < 200) ++ink;
        return ink;
    }
    bool operator==(const Shot& other) const {
        return width == other.width && height == other.height && rgb == other.rgb;
    }
};

Window FindViewer(Display* display, Window under) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, under, &root, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        char* name = nullptr;
        if (XFetchName(display, children[i], &name) && name) {
            if (std::strstr(name, "kxview")) found = children[i];
            XFree(name);
        }
        if (!found) found = FindViewer(display, children[i]);
    }
    if (children) XFree(children);
    return found;
}

bool Grab(Display* display, Window window, Shot& shot) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return false;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image) return false;
    shot.width = attributes.width;
    shot.height = attributes.height;
    shot.rgb.assign(static_cast<std::size_t>(shot.width) * static_cast<std::size_t>(shot.height) * 3, 0);
    std::size_t at = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            shot.rgb[at++] = static_cast<std::uint8_t>((pixel & image->red_mask) >> 16);
            shot.rgb[at++] = static_cast<std::uint8_t>((pixel & image->green_mask) >> 8);
            shot.rgb[at++] = static_cast<std::uint8_t>(pixel & image->blue_mask);
        }
    XDestroyImage(image);
    return true;
}

void Save(const Shot& shot, const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(shot.width);
    image.height = static_cast<png_uint_32>(shot.height);
    image.format = PNG_FORMAT_RGB;
    png_image_write_to_file(&image, path.c_str(), 0, shot.rgb.data(), shot.width * 3, nullptr);
    png_image_free(&image);
}

// A picture that stays the same for two polls in a row and differs from
// `before` (when given): the viewer has finished painting.
bool Settled(Display* display, Window window, const Shot* before, Shot& shot) {
    Shot last;
    for (int i = 0; i < kPolls; ++i) {
        usleep(kPollMicroseconds);
        Shot now;
        if (!Grab(display, window, now)) continue;
        const bool stable = now == last;
        last = now;
        if (stable && now.Ink() > 0 && (!before || !(now == *before))) {
            shot = now;
            return true;
        }
    }
    return false;
}

void SendButtonEvent(Display* display, Window window, int type, unsigned button, int x, int y) {
    XEvent event{};
    event.xbutton.type = type;
    event.xbutton.display = display;
    event.xbutton.window = window;
    event.xbutton.root = DefaultRootWindow(display);
    event.xbutton.button = button;
    event.xbutton.x = event.xbutton.x_root = x;
    event.xbutton.y = event.xbutton.y_root = y;
    event.xbutton.same_screen = True;
    XSendEvent(display, window, True, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &event);
    XFlush(display);
}

void SendButton(Display* display, Window window, unsigned button, int x, int y) {
    SendButtonEvent(display, window, ButtonPress, button, x, y);
    SendButtonEvent(display, window, ButtonRelease, button, x, y);
}

// Press, move in steps with the button held, release.
void Drag(Display* display, Window window, unsigned button, int x0, int y0, int x1, int y1) {
    const unsigned held = button == Button1 ? Button1Mask : Button2Mask;
    SendButtonEvent(display, window, ButtonPress, button, x0, y0);
    constexpr int kSteps = 5;
    for (int i = 1; i <= kSteps; ++i) {
        XEvent event{};
        event.xmotion.type = MotionNotify;
        event.xmotion.display = display;
        event.xmotion.window = window;
        event.xmotion.root = DefaultRootWindow(display);
        event.xmotion.state = held;
        event.xmotion.x = event.xmotion.x_root = x0 + (x1 - x0) * i / kSteps;
        event.xmotion.y = event.xmotion.y_root = y0 + (y1 - y0) * i / kSteps;
        event.xmotion.same_screen = True;
        XSendEvent(display, window, True, PointerMotionMask, &event);
        XFlush(display);
        usleep(20 * 1000);
    }
    SendButtonEvent(display, window, ButtonRelease, button, x1, y1);
}

void SendKey(Display* display, Window window, KeySym symbol) {
    XEvent event{};
    event.xkey.type = KeyPress;
    event.xkey.display = display;
    event.xkey.window = window;
    event.xkey.root = DefaultRootWindow(display);
    event.xkey.keycode = XKeysymToKeycode(display, symbol);
    event.xkey.same_screen = True;
    XSendEvent(display, window, True, KeyPressMask, &event);
    XFlush(display);
}

void SendClose(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

int Fail(const char* what) {
    std::fprintf(stderr, "kxview_xprobe: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return Fail("usage: kxview_xprobe SHOT_FOLDER");
    const std::string folder = argv[1];
    Display* display = XOpenDisplay(nullptr);
    if (!display) return Fail("cannot open the display");
    Window window = 0;
    for (int i = 0; i < kPolls && window == 0; ++i) {
        window = FindViewer(display, DefaultRootWindow(display));
        if (!window) usleep(kPollMicroseconds);
    }
    if (!window) return Fail("no kxview window appeared");

    Shot first;
    if (!Settled(display, window, nullptr, first)) return Fail("the window never showed ink");
    Save(first, folder + "/kxview-1-opened.png");
    std::printf("opened: %d x %d, %ld ink pixels\n", first.width, first.height, first.Ink());

    // Each step must change the picture; some must bring back an earlier one.
    struct Step {
        const char* name;
        std::function<void()> send;
        const Shot* same = nullptr;
    };
    const int cx = first.width / 2, cy = first.height / 2;
    Shot wheeled, keyed, all, jumped, back, boxed, panned;
    const std::vector<std::pair<Step, Shot*>> steps = {
        {{"wheel", [&] { SendButton(display, window, Button4, cx, cy); }}, &wheeled},
        {{"key-x", [&] { SendKey(display, window, XK_x); }}, &keyed},
        {{"home", [&] {
             SendKey(display, window, XK_m);  // a bookmark on the zoomed view
             SendKey(display, window, XK_Home);
         }, &first}, &all},
        {{"bookmark-next", [&] { SendKey(display, window, XK_n); }, &keyed}, &jumped},
        {{"back", [&] { SendKey(display, window, XK_b); }, &first}, &back},
        {{"zoom-box", [&] { Drag(display, window, Button1, cx - 100, cy - 80, cx + 60, cy + 40); }}, &boxed},
        {{"middle-pan", [&] { Drag(display, window, Button2, cx, cy, cx + 60, cy + 50); }}, &panned},
    };
    const Shot* previous = &first;
    int number = 2;
    for (const auto& [step, shot] : steps) {
        step.send();
        if (!Settled(display, window, previous, *shot)) {
            std::fprintf(stderr, "kxview_xprobe: %s changed nothing\n", step.name);
            return 1;
        }
        Save(*shot, folder + "/kxview-" + std::to_string(number++) + "-" + step.name + ".png");
        if (step.same && !(*shot == *step.same)) {
            std::fprintf(stderr, "kxview_xprobe: %s did not bring back the earlier picture\n", step.name);
            return 1;
        }
        std::printf("%s: %ld ink pixels\n", step.name, shot->Ink());
        previous = shot;
    }

    SendClose(display, window);
    XCloseDisplay(display);
    return 0;
}

// Drives a running kxview on an X display the way a person would and checks
// what it shows: waits for its window, grabs it (XGetImage), requires ink,
// then sends (XSendEvent) a wheel notch, X, a bookmark and Home, the next
// bookmark, B(ack), a left-button zoom box and a middle-button pan, and
// requires the picture to change after each and to come back where it
// must; finally closes the window as a window manager does.
// Screenshots are written as PNG into the given folder.
//
// kxview_xprobe SHOT_FOLDER
#include <X11/keysym.h>
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "XClient.h"

namespace {

constexpr int kSettlePolls = 200;  // 10 s

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
    for (int i = 0; i < kSettlePolls; ++i) {
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

// Press, move in steps with the button held, release.
void Drag(const XClient& client, Window window, unsigned button, int x0, int y0, int x1, int y1) {
    const unsigned held = button == Button1 ? Button1Mask : Button2Mask;
    client.Button(window, ButtonPress, button, x0, y0);
    constexpr int kSteps = 5;
    for (int i = 1; i <= kSteps; ++i) {
        client.Motion(window, x0 + (x1 - x0) * i / kSteps, y0 + (y1 - y0) * i / kSteps, held);
        usleep(20 * 1000);
    }
    client.Button(window, ButtonRelease, button, x1, y1, held);
}

int Fail(const char* what) {
    std::fprintf(stderr, "kxview_xprobe: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return Fail("usage: kxview_xprobe SHOT_FOLDER");
    const std::string folder = argv[1];
    const XClient client;
    Display* display = client.display();
    if (!display) return Fail("cannot open the display");
    Window window = 0;
    for (int i = 0; i < 5 && window == 0; ++i)
        window = client.FindWhere([](const std::string& title) { return title.find("kxview") != std::string::npos; });
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
        {{"wheel", [&] { client.Button(window, ButtonPress, Button4, cx, cy); }}, &wheeled},
        {{"key-x", [&] { client.Key(window, XK_x); }}, &keyed},
        {{"home", [&] {
             client.Key(window, XK_m);  // a bookmark on the zoomed view
             client.Key(window, XK_Home);
         }, &first}, &all},
        {{"bookmark-next", [&] { client.Key(window, XK_n); }, &keyed}, &jumped},
        {{"back", [&] { client.Key(window, XK_b); }, &first}, &back},
        {{"zoom-box", [&] { Drag(client, window, Button1, cx - 100, cy - 80, cx + 60, cy + 40); }}, &boxed},
        {{"middle-pan", [&] { Drag(client, window, Button2, cx, cy, cx + 60, cy + 50); }}, &panned},
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

    client.Close(window);
    return 0;
}

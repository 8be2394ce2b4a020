#include "CKXViewerOptions.h"

#include <cstdlib>
#include <vector>

namespace {

bool ParseInt(const std::string& text, int low, int high, int& out) {
    if (text.empty() || text.size() > 9) return false;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || value < low || value > high) return false;
    out = static_cast<int>(value);
    return true;
}

bool ParseSize(const std::string& text, int& width, int& height) {
    const auto x = text.find('x');
    return x != std::string::npos && ParseInt(text.substr(0, x), 64, 8192, width) &&
           ParseInt(text.substr(x + 1), 64, 8192, height);
}

}  // namespace

std::string CKXViewerOptions::Usage() {
    return "Usage: kxview DRAWING [options]\n"
           "Shows a drawing (DXF, or a drawing file .pdb) in a window.\n"
           "  --tool N           left-button tool: 1 pan, 2 zoom box, 3 dynamic zoom\n"
           "                     (default: DISPLAY/iniTool of korvex.ini beside the program, else 2)\n"
           "  --size WxH         window size (default 1024x768)\n"
           "  --display NAME     X display (default $DISPLAY)\n"
           "  --coarse-curves    draw curves with at most 40 chords per turn\n"
           "  -h, --help         this text\n"
           "      --version      the program's version\n"
           "Mouse: left button the tool, middle button pan, wheel zoom.\n"
           "Keys:\n"
           "  arrows             move by a tenth of the window\n"
           "  X, keypad +, +     zoom in        Z, keypad -, -   zoom out\n"
           "  Home, A            zoom all\n"
           "  Backspace, B       back to the previous view     F  forward again\n"
           "  M                  set a bookmark on this view\n"
           "  N, P               next / previous bookmark\n"
           "  1, 2, 3            left-button tool: pan, zoom box, dynamic zoom\n"
           "  Esc, Q             quit\n";
}

bool CKXViewerOptions::Parse(int argc, const char* const* argv, std::string& error) {
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string v;
        if (arg == "-h" || arg == "--help") {
            helpRequested = true;
        } else if (arg == "--version") {
            versionRequested = true;
        } else if (arg == "--coarse-curves") {
            fineCurves = false;
        } else if (arg == "--tool") {
            int t = 0;
            if (!value(v) || !ParseInt(v, 1, 3, t)) {
                if (error.empty()) error = "bad --tool (1, 2 or 3): " + v;
                return false;
            }
            tool = t;
        } else if (arg == "--size") {
            if (!value(v) || !ParseSize(v, width, height)) {
                if (error.empty()) error = "bad --size (WxH, 64 to 8192): " + v;
                return false;
            }
        } else if (arg == "--display") {
            if (!value(display)) return false;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else {
            positional.push_back(arg);
        }
    }
    if (helpRequested || versionRequested) return true;
    if (positional.size() != 1) {
        error = positional.empty() ? "no drawing given" : "one drawing at a time";
        return false;
    }
    input = positional.front();
    return true;
}

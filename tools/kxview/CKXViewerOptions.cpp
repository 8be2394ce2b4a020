#include "CKXViewerOptions.h"

#include <cstdlib>
#include <functional>
#include <map>
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
    const std::map<std::string, bool*> flags = {
        {"-h", &helpRequested}, {"--help", &helpRequested}, {"--version", &versionRequested}};
    // Options that take a value, each with what it makes of it.
    const std::map<std::string, std::function<bool(const std::string&)>> valued = {
        {"--tool",
         [this](const std::string& v) {
             int t = 0;
             if (!ParseInt(v, 1, 3, t)) return false;
             tool = t;
             return true;
         }},
        {"--size", [this](const std::string& v) { return ParseSize(v, width, height); }},
        {"--display",
         [this](const std::string& v) {
             display = v;
             return !v.empty();
         }},
    };
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (const auto flag = flags.find(arg); flag != flags.end()) {
            *flag->second = true;
        } else if (arg == "--coarse-curves") {
            fineCurves = false;
        } else if (const auto option = valued.find(arg); option != valued.end()) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            if (!option->second(argv[++i])) {
                error = "bad value for " + arg + ": " + argv[i] + " (see --help)";
                return false;
            }
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

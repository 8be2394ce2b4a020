#include "CKXRenderOptions.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

#include <korvex/kxtypes.h>
#include <kxplatform/dc.h>

namespace {

constexpr int kNoText = 1, kNoLineStyles = 2, kNoLineWeights = 4, kMonochrome = 32;

bool ParseInt(const std::string& text, long low, long high, int& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < low || value > high) return false;
    out = static_cast<int>(value);
    return true;
}

bool ParseDouble(const std::string& text, double& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    out = std::strtod(text.c_str(), &end);
    return errno == 0 && *end == '\0' && std::isfinite(out);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// "RRGGBB" or "#RRGGBB" as a COLORREF (0x00BBGGRR).
bool ParseColour(std::string text, COLORREF& out) {
    if (!text.empty() && text[0] == '#') text.erase(0, 1);
    if (text.size() != 6) return false;
    for (char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    const unsigned long rgb = std::strtoul(text.c_str(), nullptr, 16);
    out = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    return true;
}

bool ParseSize(const std::string& text, int& side, int& width, int& height) {
    const std::size_t x = Lower(text).find('x');
    if (x == std::string::npos) {
        width = height = 0;
        return ParseInt(text, 1, KX_RASTER_MAX_SIDE, side);
    }
    return ParseInt(text.substr(0, x), 1, KX_RASTER_MAX_SIDE, width) &&
           ParseInt(text.substr(x + 1), 1, KX_RASTER_MAX_SIDE, height);
}

bool ParseWindow(const std::string& text, std::array<double, 4>& out) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, ',');) parts.push_back(part);
    if (parts.size() != 4) return false;
    for (std::size_t i = 0; i < 4; ++i)
        if (!ParseDouble(parts[i], out[i])) return false;
    return out[2] > out[0] && out[3] > out[1];
}

}  // namespace

std::string CKXRenderOptions::Usage() {
    return "Usage: kxrender INPUT OUTPUT.png|OUTPUT.svg [options]\n"
           "Reads INPUT with the engine's translators, finishes it and draws it;\n"
           "a drawing file (INPUT.pdb) is drawn from its own records.\n"
           "  --size N             fit the drawing into N x N pixels (default 2048)\n"
           "  --size WxH           draw into exactly W x H pixels\n"
           "  --background RRGGBB  background colour (default ffffff)\n"
           "  --window X0,Y0,X1,Y1 drawing area to show, in drawing units\n"
           "  --layout N           layout index to read (default: the translator's choice)\n"
           "  --mode N             display mode bits (1 no text, 2 no line styles,\n"
           "                       4 no line weights, 32 monochrome)\n"
           "  --no-text --no-linestyles --no-lineweights --monochrome\n"
           "  --coarse-curves      draw curves with at most 40 chords per turn instead of\n"
           "                       keeping them within half a pixel\n"
           "  --aa                 anti-aliased PNG (drawn at 3 x the size and reduced;\n"
           "                       line weights given in pixels come out thinner);\n"
           "                       without it lines are aliased, as GDI draws them\n"
           "  -h, --help           this text\n"
           "      --version        the program's version\n";
}

bool CKXRenderOptions::Parse(int argc, const char* const* argv, std::string& error) {
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
            return true;
        } else if (arg == "--version") {
            versionRequested = true;
            return true;
        } else if (arg == "--size") {
            if (!value(v) || !ParseSize(v, side, width, height)) {
                if (error.empty()) error = "bad --size: " + v;
                return false;
            }
        } else if (arg == "--background") {
            if (!value(v) || !ParseColour(v, background)) {
                if (error.empty()) error = "bad --background (RRGGBB): " + v;
                return false;
            }
        } else if (arg == "--window") {
            std::array<double, 4> box{};
            if (!value(v) || !ParseWindow(v, box)) {
                if (error.empty()) error = "bad --window (X0,Y0,X1,Y1 with X1>X0, Y1>Y0): " + v;
                return false;
            }
            window = box;
        } else if (arg == "--layout") {
            if (!value(v) || !ParseInt(v, 0, 1 << 20, layout)) {
                if (error.empty()) error = "bad --layout: " + v;
                return false;
            }
        } else if (arg == "--mode") {
            int mode = 0;
            if (!value(v) || !ParseInt(v, 0, 0x7FFFFFFF, mode)) {
                if (error.empty()) error = "bad --mode: " + v;
                return false;
            }
            displayMode |= mode;
        } else if (arg == "--no-text") {
            displayMode |= kNoText;
        } else if (arg == "--no-linestyles") {
            displayMode |= kNoLineStyles;
        } else if (arg == "--no-lineweights") {
            displayMode |= kNoLineWeights;
        } else if (arg == "--monochrome") {
            displayMode |= kMonochrome;
        } else if (arg == "--coarse-curves") {
            coarseCurves = true;
        } else if (arg == "--aa") {
            antiAlias = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) {
        error = "expected INPUT and OUTPUT";
        return false;
    }
    input = positional[0];
    output = positional[1];
    if (coarseCurves) displayMode &= ~KX_DISPLAY_FINE_CURVES;
    drawingFile = EndsWith(Lower(input), ".pdb");
    const std::string lower = Lower(output);
    if (EndsWith(lower, ".png")) {
        format = Format::Png;
    } else if (EndsWith(lower, ".svg")) {
        format = Format::Svg;
    } else {
        error = "OUTPUT must end in .png or .svg: " + output;
        return false;
    }
    return true;
}

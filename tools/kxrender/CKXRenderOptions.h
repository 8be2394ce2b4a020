// The command line of kxrender.
#pragma once

#include <korvex/kxtypes.h>
#include <kxplatform/wintypes.h>

#include <array>
#include <optional>
#include <string>

class CKXRenderOptions {
public:
    enum class Format { Png, Svg };

    // The longer side of the picture when no size is given.
    static constexpr int kDefaultSide = 2048;

    // Parses argv; false with an error message for bad input.
    bool Parse(int argc, const char* const* argv, std::string& error);
    static std::string Usage();

    bool helpRequested = false;
    bool versionRequested = false;
    std::string input;
    std::string output;
    Format format = Format::Png;
    // Fit the drawing into side x side pixels, or an exact width x height.
    int side = kDefaultSide;
    int width = 0;
    int height = 0;
    COLORREF background = 0xFFFFFF;
    // Curves are drawn within half a pixel unless --coarse-curves is given.
    int displayMode = KX_DISPLAY_FINE_CURVES;
    bool coarseCurves = false;
    // PNG pictures drawn anti-aliased (by supersampling) instead of aliased.
    bool antiAlias = false;
    // The input is a drawing file, drawn without the engine.
    bool drawingFile = false;
    int layout = -1;
    // xmin, ymin, xmax, ymax in drawing units.
    std::optional<std::array<double, 4>> window;
};

// The command line of kxview.
#pragma once

#include <optional>
#include <string>

struct CKXViewerOptions {
    std::string input;
    // Left-button tool: 1 pan, 2 zoom box, 3 dynamic zoom; the settings
    // file's choice when not given.
    std::optional<int> tool;
    bool fineCurves = true;
    int width = 1024;
    int height = 768;
    std::string display;  // empty: $DISPLAY
    bool helpRequested = false;
    bool versionRequested = false;

    bool Parse(int argc, const char* const* argv, std::string& error);
    static std::string Usage();
};

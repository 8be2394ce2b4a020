// kxview DRAWING [options]: a drawing in a window, to look at and move
// around in with the mouse and the keyboard.
#include <kxplatform/dynlib.h>
#include <kxplatform/processenv.h>
#include <kxplatform/profileapi.h>
#include <kxplatform/winuser.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "CKXViewer.h"
#include "CKXViewerOptions.h"

namespace {

enum ExitCode { kOk = 0, kUsage = 1, kFailed = 2 };

constexpr int kDefaultTool = 2;

// The left-button tool of the settings file beside the program
// (korvex.ini, DISPLAY/iniTool), as the converter keeps it.
int SettingsTool() {
    std::vector<char> path(4096);
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) return kDefaultTool;
    std::string settings(path.data(), length);
    const auto slash = settings.find_last_of('/');
    settings = (slash == std::string::npos ? std::string() : settings.substr(0, slash + 1)) + "korvex.ini";
    return static_cast<int>(GetPrivateProfileIntA("DISPLAY", "iniTool", kDefaultTool, settings.c_str()));
}

}  // namespace

int main(int argc, char** argv) {
    CKXViewerOptions options;
    std::string error;
    if (!options.Parse(argc, argv, error)) {
        std::cerr << "kxview: " << error << "\n" << CKXViewerOptions::Usage();
        return kUsage;
    }
    if (options.versionRequested) {
        std::cout << "kxview (Korvex) 1.0\n";
        return kOk;
    }
    if (options.helpRequested) {
        std::cout << CKXViewerOptions::Usage();
        return kOk;
    }
    if (!KXDisplaySupported()) {
        std::cerr << "kxview: needs X11, and this build has no X11 support (install libx11-dev and rebuild)\n";
        return kFailed;
    }
    CKXViewer viewer;
    if (!viewer.Load(options, error)) {
        std::cerr << "kxview: " << error << "\n";
        return kFailed;
    }
    if (!KXUseDisplay(options.display.empty() ? nullptr : options.display.c_str())) {
        std::string name = options.display.empty() ? KXEnvironmentVariable("DISPLAY") : options.display;
        if (name.empty()) name = "(DISPLAY is not set)";
        std::cerr << "kxview: cannot open the X display " << name << "\n";
        return kFailed;
    }
    if (!viewer.Open(options, options.tool.value_or(SettingsTool()), error)) {
        std::cerr << "kxview: " << error << "\n";
        return kFailed;
    }
    viewer.Run();
    return kOk;
}

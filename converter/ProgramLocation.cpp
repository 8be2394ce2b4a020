#include "ProgramLocation.h"

#include <kxplatform/dynlib.h>
#include <kxplatform/fileapi.h>
#include <kxplatform/pathsep.h>
#include <kxplatform/processenv.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace ProgramLocation {

std::string Directory() {
    std::vector<char> buffer(PATH_MAX + 1);
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return {};
    const std::string path(buffer.data(), length);
    const auto cut = path.rfind(KX_PATH_SEPARATOR);
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

bool IsWritableDirectory(const std::string& directory) {
    const std::string probe = directory + ".korvex-write-probe";
    std::FILE* file = std::fopen(probe.c_str(), "w");
    if (file == nullptr) return false;
    std::fclose(file);
    std::remove(probe.c_str());
    return true;
}

namespace {

std::string AbsoluteVariable(const char* name) {
    std::string path = KXEnvironmentVariable(name);
    if (path.empty() || path[0] != KX_PATH_SEPARATOR) return {};
    if (path.back() != KX_PATH_SEPARATOR) path += KX_PATH_SEPARATOR;
    return path;
}

bool EnsureDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

}  // namespace

std::string UserSettingsDirectory() {
    std::string base = AbsoluteVariable("XDG_CONFIG_HOME");
    if (base.empty()) {
        const std::string home = AbsoluteVariable("HOME");
        if (home.empty()) return {};
        base = home + ".config" + KX_PATH_SEPARATOR;
    }
    const std::string directory = base + "korvex" + KX_PATH_SEPARATOR;
    if (!EnsureDirectory(base) || !EnsureDirectory(directory)) return {};
    return directory;
}

}  // namespace ProgramLocation

#include "ProgramLocation.h"

#include <kxplatform/dynlib.h>
#include <kxplatform/pathsep.h>

#include <climits>
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

}  // namespace ProgramLocation

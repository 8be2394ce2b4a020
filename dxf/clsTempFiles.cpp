#include "clsTempFiles.h"

#include <kxplatform/fileapi.h>

namespace kxdxf {

std::string clsTempFiles::directory()
{
    char path[MAX_PATH];
    const DWORD length = GetTempPathA(sizeof path, path);
    if (length == 0 || length >= sizeof path)
        return std::string();
    return std::string(path, length);
}

std::string clsTempFiles::createUnique(const std::string& directory, const std::string& prefix)
{
    if (directory.empty())
        return std::string();
    char name[MAX_PATH];
    if (GetTempFileNameA(directory.c_str(), prefix.c_str(), 0, name) == 0)
        return std::string();
    return std::string(name);
}

void clsTempFiles::remove(const std::string& path)
{
    if (!path.empty())
        DeleteFileA(path.c_str());
}

}  // namespace kxdxf

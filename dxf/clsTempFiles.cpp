#include "clsTempFiles.h"

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kxdxf {
namespace {

constexpr char kSeparator = '/';

bool isDirectory(const char* path)
{
    struct stat info {};
    return path && *path && ::stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::string clsTempFiles::directory()
{
    // The same order of preference as the usual temp-path query.
    for (const char* variable : {"TMPDIR", "TMP", "TEMP"}) {
        const char* value = std::getenv(variable);
        if (isDirectory(value)) {
            std::string dir(value);
            if (dir.back() != kSeparator)
                dir += kSeparator;
            return dir;
        }
    }
    return isDirectory("/tmp") ? std::string("/tmp/") : std::string();
}

std::string clsTempFiles::createUnique(const std::string& directory, const std::string& prefix)
{
    if (directory.empty())
        return std::string();
    std::string pattern = directory + prefix + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return std::string();
    ::close(fd);
    return std::string(name.data());
}

void clsTempFiles::remove(const std::string& path)
{
    if (!path.empty())
        std::remove(path.c_str());
}

}  // namespace kxdxf

#include "FileFacts.h"

#include <sys/stat.h>

#include <cstdint>
#include <ctime>

namespace kxplatform {
namespace {

constexpr uint64_t kFileTimeTicksPerSecond = 10000000ULL;
constexpr uint64_t kSecondsFrom1601To1970 = 11644473600ULL;

FILETIME ToFileTime(time_t seconds) {
    const uint64_t ticks =
        seconds < 0 ? 0 : (static_cast<uint64_t>(seconds) + kSecondsFrom1601To1970) * kFileTimeTicksPerSecond;
    return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

}  // namespace

bool ReadFileFacts(const char* path, WIN32_FILE_ATTRIBUTE_DATA& facts) {
    facts = WIN32_FILE_ATTRIBUTE_DATA{};
    struct stat info {};
    if (path == nullptr || *path == '\0' || stat(path, &info) != 0) return false;
    DWORD attributes = 0;
    if (S_ISDIR(info.st_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    // Devices, pipes and sockets: neither a file nor a folder.
    if (!S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode)) attributes |= FILE_ATTRIBUTE_DEVICE;
    if ((info.st_mode & S_IWUSR) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
    facts.dwFileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
    facts.ftCreationTime = ToFileTime(info.st_ctime);
    facts.ftLastAccessTime = ToFileTime(info.st_atime);
    facts.ftLastWriteTime = ToFileTime(info.st_mtime);
    const auto size = static_cast<uint64_t>(info.st_size);
    facts.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    facts.nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
    return true;
}

}  // namespace kxplatform

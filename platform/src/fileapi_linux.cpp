// File services on POSIX: temporary files, current directory, directory
// creation, deletion and attributes.
#include <kxplatform/fileapi.h>

#include "FileFacts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

constexpr const char* kTempDirVariable = "TMPDIR";
constexpr const char* kDefaultTempDir = "/tmp";
constexpr const char* kTempFileExtension = ".tmp";
constexpr UINT kTempNumberMask = 0xFFFF;  // four hex digits, as on Windows
constexpr mode_t kNewDirectoryMode = 0777;  // narrowed by the umask
constexpr mode_t kNewTempFileMode = 0600;

std::string WithFinalSeparator(std::string path) {
    if (path.empty() || path.back() != KX_PATH_SEPARATOR) path += KX_PATH_SEPARATOR;
    return path;
}

// Copies text with its terminator when it fits; otherwise leaves the buffer
// alone and returns the size needed including the terminator.
DWORD CopyOrRequiredSize(const std::string& text, DWORD bufferLength, char* buffer) {
    if (buffer == nullptr || text.size() >= bufferLength) return static_cast<DWORD>(text.size() + 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
}

std::string TempFileName(const std::string& directory, const char* prefix, UINT number) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", number & kTempNumberMask);
    return directory + prefix + digits + kTempFileExtension;
}

// Successive searches start where the last one ended, so names freed by a
// deletion are not handed out again at once.
UINT NextTempNumberSeed() {
    static std::atomic<UINT> next{static_cast<UINT>(getpid()) ^ static_cast<UINT>(std::time(nullptr))};
    return next.fetch_add(1);
}

bool IsDirectory(const char* path) {
    struct stat info {};
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

DWORD GetTempPathA(DWORD bufferLength, char* buffer) {
    const char* fromEnvironment = std::getenv(kTempDirVariable);
    const std::string directory = WithFinalSeparator(
        fromEnvironment != nullptr && *fromEnvironment != '\0' ? fromEnvironment : kDefaultTempDir);
    return CopyOrRequiredSize(directory, bufferLength, buffer);
}

UINT GetTempFileNameA(const char* path, const char* prefix, UINT unique, char* name) {
    if (path == nullptr || *path == '\0' || name == nullptr) return 0;
    if (prefix == nullptr) prefix = "";
    const std::string directory = WithFinalSeparator(path);
    // A given number only names the file: nothing is checked or created.
    if (unique != 0) {
        const std::string formed = TempFileName(directory, prefix, unique);
        if (formed.size() >= MAX_PATH) return 0;
        std::memcpy(name, formed.c_str(), formed.size() + 1);
        return unique & kTempNumberMask;
    }

    if (!IsDirectory(directory.c_str())) return 0;
    const UINT seed = NextTempNumberSeed();
    for (UINT attempt = 0; attempt < kTempNumberMask; ++attempt) {
        const UINT number = (seed + attempt) % kTempNumberMask + 1;  // never 0
        const std::string candidate = TempFileName(directory, prefix, number);
        if (candidate.size() >= MAX_PATH) return 0;
        const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewTempFileMode);
        if (fd >= 0) {
            close(fd);
            std::memcpy(name, candidate.c_str(), candidate.size() + 1);
            return number;
        }
        if (errno != EEXIST) return 0;
    }
    return 0;
}

DWORD GetCurrentDirectoryA(DWORD bufferLength, char* buffer) {
    char current[PATH_MAX];
    if (getcwd(current, sizeof current) == nullptr) return 0;
    return CopyOrRequiredSize(current, bufferLength, buffer);
}

BOOL SetCurrentDirectoryA(const char* path) {
    return path != nullptr && *path != '\0' && chdir(path) == 0;
}

BOOL CreateDirectoryA(const char* path, SECURITY_ATTRIBUTES* /*security*/) {
    return path != nullptr && *path != '\0' && mkdir(path, kNewDirectoryMode) == 0;
}

BOOL DeleteFileA(const char* path) {
    if (path == nullptr || *path == '\0' || IsDirectory(path)) return FALSE;
    return unlink(path) == 0;
}

BOOL MoveFileExA(const char* existingName, const char* newName, DWORD flags) {
    if (existingName == nullptr || *existingName == '\0' || newName == nullptr || *newName == '\0') return FALSE;
    struct stat source {};
    if (stat(existingName, &source) != 0 || S_ISDIR(source.st_mode)) return FALSE;
    struct stat entry {};
    const bool targetExists = lstat(newName, &entry) == 0;
    struct stat target {};
    const bool targetIsFile = stat(newName, &target) == 0 && S_ISREG(target.st_mode);
    if (targetExists && ((flags & MOVEFILE_REPLACE_EXISTING) == 0 || S_ISDIR(entry.st_mode))) {
        errno = EEXIST;
        return FALSE;
    }
    // A read-only file is not replaced, as on Windows.
    if (targetIsFile && access(newName, W_OK) != 0) {
        errno = EACCES;
        return FALSE;
    }
    if ((flags & MOVEFILE_REPLACE_EXISTING) != 0) {
        mode_t mode = 0;
        if (targetIsFile) {
            mode = target.st_mode & 07777;
        } else if (!targetExists) {
            mode = umask(0);
            umask(mode);
            mode = 0666 & ~mode;
        }
        if (mode != 0 && chmod(existingName, mode) != 0) return FALSE;
    }
    if ((flags & MOVEFILE_WRITE_THROUGH) != 0) {
        const int fd = open(existingName, O_RDONLY | O_CLOEXEC);
        if (fd < 0) return FALSE;
        const bool synced = fsync(fd) == 0;
        close(fd);
        if (!synced) return FALSE;
    }
    if ((flags & MOVEFILE_REPLACE_EXISTING) != 0) {
        if (std::rename(existingName, newName) != 0) return FALSE;
    } else if (link(existingName, newName) != 0 || unlink(existingName) != 0) {
        // A hard link makes the no-replace move race free.
        return FALSE;
    }
    if ((flags & MOVEFILE_WRITE_THROUGH) != 0) {
        std::string directory(newName);
        const std::size_t slash = directory.find_last_of(KX_PATH_SEPARATOR);
        directory = slash == std::string::npos ? "." : slash == 0 ? "/" : directory.substr(0, slash);
        const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            fsync(fd);
            close(fd);
        }
    }
    return TRUE;
}

DWORD GetFileAttributesA(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA facts;
    return kxplatform::ReadFileFacts(path, facts) ? facts.dwFileAttributes : INVALID_FILE_ATTRIBUTES;
}

BOOL GetFileAttributesExA(const char* path, GET_FILEEX_INFO_LEVELS level, void* information) {
    if (level != GetFileExInfoStandard || information == nullptr) return FALSE;
    return kxplatform::ReadFileFacts(path, *static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(information)) ? TRUE : FALSE;
}

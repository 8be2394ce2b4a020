// Wildcard directory search over readdir, matching names case-insensitively
// as the Windows file systems do.
#include <kxplatform/fileapi.h>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* kCurrentDirectory = ".";
constexpr const char* kEveryNameWithDot = "*.*";  // Windows reads it as "*"
constexpr uint64_t kFileTimeTicksPerSecond = 10000000ULL;
constexpr uint64_t kSecondsFrom1601To1970 = 11644473600ULL;

struct FindState {
    std::string directory;  // with its final separator, or "" for the current one
    std::vector<std::string> names;
    size_t next = 0;
};

char FoldCase(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// '*' matches any run of characters, '?' any one. Backtracking only to the
// last '*' keeps this linear in practice and free of recursion.
bool MatchesWildcard(const std::string& pattern, const std::string& name) {
    size_t p = 0;
    size_t n = 0;
    size_t starAt = std::string::npos;
    size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
            ++p;
            ++n;
        } else if (starAt != std::string::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    const auto folded = [](const std::string& s) {
        std::string out(s);
        std::transform(out.begin(), out.end(), out.begin(), FoldCase);
        return out;
    };
    const std::string fa = folded(a);
    const std::string fb = folded(b);
    return fa != fb ? fa < fb : a < b;
}

FILETIME ToFileTime(time_t seconds) {
    const uint64_t ticks =
        seconds < 0 ? 0 : (static_cast<uint64_t>(seconds) + kSecondsFrom1601To1970) * kFileTimeTicksPerSecond;
    return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

void FillFindData(const FindState& state, const std::string& name, WIN32_FIND_DATAA* data) {
    *data = WIN32_FIND_DATAA{};
    std::memcpy(data->cFileName, name.c_str(), name.size() + 1);
    struct stat info {};
    const std::string path = (state.directory.empty() ? std::string() : state.directory) + name;
    if (stat(path.c_str(), &info) != 0) {
        data->dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
        return;
    }
    DWORD attributes = 0;
    if (S_ISDIR(info.st_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if ((info.st_mode & S_IWUSR) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
    data->dwFileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
    data->ftCreationTime = ToFileTime(info.st_ctime);
    data->ftLastAccessTime = ToFileTime(info.st_atime);
    data->ftLastWriteTime = ToFileTime(info.st_mtime);
    const auto size = static_cast<uint64_t>(info.st_size);
    data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
}

std::vector<std::string> MatchingNames(const std::string& directory, const std::string& pattern) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(
        opendir(directory.empty() ? kCurrentDirectory : directory.c_str()), closedir);
    if (!dir) return names;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name.size() < MAX_PATH && MatchesWildcard(pattern, name)) names.push_back(name);
    }
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    return names;
}

}  // namespace

HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* data) {
    if (pattern == nullptr || data == nullptr) return INVALID_HANDLE_VALUE;
    const std::string full = pattern;
    const auto cut = full.rfind(KX_PATH_SEPARATOR);
    const std::string directory = cut == std::string::npos ? std::string() : full.substr(0, cut + 1);
    std::string namePattern = full.substr(directory.size());
    if (namePattern.empty()) return INVALID_HANDLE_VALUE;
    if (namePattern == kEveryNameWithDot) namePattern = "*";

    auto state = std::make_unique<FindState>();
    state->directory = directory;
    state->names = MatchingNames(directory, namePattern);
    if (state->names.empty()) return INVALID_HANDLE_VALUE;
    FillFindData(*state, state->names[state->next++], data);
    return state.release();
}

BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data) {
    if (search == nullptr || search == INVALID_HANDLE_VALUE || data == nullptr) return FALSE;
    auto* state = static_cast<FindState*>(search);
    if (state->next >= state->names.size()) return FALSE;
    FillFindData(*state, state->names[state->next++], data);
    return TRUE;
}

BOOL FindClose(HANDLE search) {
    if (search == nullptr || search == INVALID_HANDLE_VALUE) return FALSE;
    delete static_cast<FindState*>(search);
    return TRUE;
}

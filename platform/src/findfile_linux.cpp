// Wildcard directory search over readdir, matching names case-insensitively
// as the Windows file systems do.
#include <kxplatform/fileapi.h>

#include "FileFacts.h"

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

void FillFindData(const FindState& state, const std::string& name, WIN32_FIND_DATAA* data) {
    *data = WIN32_FIND_DATAA{};
    std::memcpy(data->cFileName, name.c_str(), name.size() + 1);
    const std::string path = (state.directory.empty() ? std::string() : state.directory) + name;
    WIN32_FILE_ATTRIBUTE_DATA facts;
    if (!kxplatform::ReadFileFacts(path.c_str(), facts)) {
        data->dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
        return;
    }
    data->dwFileAttributes = facts.dwFileAttributes;
    data->ftCreationTime = facts.ftCreationTime;
    data->ftLastAccessTime = facts.ftLastAccessTime;
    data->ftLastWriteTime = facts.ftLastWriteTime;
    data->nFileSizeHigh = facts.nFileSizeHigh;
    data->nFileSizeLow = facts.nFileSizeLow;
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

// Private-profile (INI) files. The file is read whole into lines, looked up
// or edited, and on a write replaced through a file written beside it and
// renamed over it.
#include <kxplatform/profileapi.h>
#include <kxplatform/stringapi.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

// Settings files are small; anything larger is treated as unreadable rather
// than loaded into memory.
constexpr std::streamoff kMaxProfileBytes = 16 * 1024 * 1024;
// Windows reads a profile integer through a buffer of this size.
constexpr DWORD kIntegerTextSize = 30;
constexpr const char* kReplacementSuffix = ".XXXXXX";

std::string Trim(const std::string& text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && _strnicmp(a.data(), b.data(), a.size()) == 0;
}

std::string Unquote(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

bool IsComment(const std::string& trimmed) {
    return !trimmed.empty() && trimmed.front() == ';';
}

std::optional<std::string> SectionNameOf(const std::string& line) {
    const std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
    const auto close = trimmed.find(']');
    return Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

struct KeyLine {
    std::string key;
    std::string value;
};

std::optional<KeyLine> KeyLineOf(const std::string& line) {
    const std::string trimmed = Trim(line);
    if (trimmed.empty() || IsComment(trimmed) || SectionNameOf(trimmed)) return std::nullopt;
    const auto equals = trimmed.find('=');
    if (equals == std::string::npos) return KeyLine{trimmed, std::string()};
    return KeyLine{Trim(trimmed.substr(0, equals)), Unquote(Trim(trimmed.substr(equals + 1)))};
}

class ProfileFile {
public:
    // Loads the file; a missing file is an empty profile, an unreadable or
    // oversized one gives nullopt.
    static std::optional<ProfileFile> Load(const char* path) {
        ProfileFile profile;
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            struct stat info {};
            if (stat(path, &info) == 0) return std::nullopt;  // there, but not readable
            return profile;
        }
        in.seekg(0, std::ios::end);
        if (in.tellg() > kMaxProfileBytes) return std::nullopt;
        in.seekg(0, std::ios::beg);
        std::string line;
        bool first = true;
        while (std::getline(in, line)) {
            if (first && !line.empty() && line.back() == '\r') profile.lineEnd_ = "\r\n";
            first = false;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            profile.lines_.push_back(line);
        }
        return profile;
    }

    std::optional<std::string> Value(const std::string& section, const std::string& key) const {
        const auto range = FindSection(section);
        if (!range) return std::nullopt;
        const auto at = FindKey(*range, key);
        if (!at) return std::nullopt;
        return KeyLineOf(lines_[*at])->value;
    }

    std::vector<std::string> SectionNames() const {
        std::vector<std::string> names;
        for (const auto& line : lines_) {
            if (auto name = SectionNameOf(line)) names.push_back(*name);
        }
        return names;
    }

    std::vector<std::string> KeyNames(const std::string& section) const {
        std::vector<std::string> names;
        if (const auto range = FindSection(section)) {
            for (size_t i = range->first + 1; i < range->second; ++i) {
                if (auto keyLine = KeyLineOf(lines_[i])) names.push_back(keyLine->key);
            }
        }
        return names;
    }

    void SetValue(const std::string& section, const std::string& key, const std::string& value) {
        auto range = FindSection(section);
        if (!range) {
            if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
            lines_.push_back("[" + section + "]");
            range = Range{lines_.size() - 1, lines_.size()};
        }
        if (const auto at = FindKey(*range, key)) {
            lines_[*at] = KeyLineOf(lines_[*at])->key + "=" + value;
            return;
        }
        size_t insertAt = range->second;
        while (insertAt > range->first + 1 && Trim(lines_[insertAt - 1]).empty()) --insertAt;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), key + "=" + value);
    }

    void RemoveKey(const std::string& section, const std::string& key) {
        if (const auto range = FindSection(section)) {
            if (const auto at = FindKey(*range, key)) {
                lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*at));
            }
        }
    }

    void RemoveSection(const std::string& section) {
        if (const auto range = FindSection(section)) {
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->first),
                         lines_.begin() + static_cast<std::ptrdiff_t>(range->second));
        }
    }

    // Writes a sibling file and renames it over the original, so the file
    // is always either the old or the new profile.
    bool Save(const char* path) const {
        std::string replacement = std::string(path) + kReplacementSuffix;
        const int fd = mkstemp(replacement.data());
        if (fd < 0) return false;
        std::string text;
        for (const auto& line : lines_) text += line + lineEnd_;
        bool written = WriteAll(fd, text);
        struct stat original {};
        if (stat(path, &original) == 0) fchmod(fd, original.st_mode & 07777);
        else fchmod(fd, 0666 & ~CurrentUmask());
        written = close(fd) == 0 && written;
        if (!written || std::rename(replacement.c_str(), path) != 0) {
            unlink(replacement.c_str());
            return false;
        }
        return true;
    }

private:
    using Range = std::pair<size_t, size_t>;  // header line, one past the last line

    std::optional<Range> FindSection(const std::string& section) const {
        for (size_t i = 0; i < lines_.size(); ++i) {
            const auto name = SectionNameOf(lines_[i]);
            if (!name || !EqualIgnoringCase(*name, section)) continue;
            size_t end = i + 1;
            while (end < lines_.size() && !SectionNameOf(lines_[end])) ++end;
            return Range{i, end};
        }
        return std::nullopt;
    }

    std::optional<size_t> FindKey(const Range& range, const std::string& key) const {
        for (size_t i = range.first + 1; i < range.second; ++i) {
            const auto keyLine = KeyLineOf(lines_[i]);
            if (keyLine && EqualIgnoringCase(keyLine->key, key)) return i;
        }
        return std::nullopt;
    }

    static bool WriteAll(int fd, const std::string& text) {
        size_t done = 0;
        while (done < text.size()) {
            const ssize_t n = write(fd, text.data() + done, text.size() - done);
            if (n <= 0) return false;
            done += static_cast<size_t>(n);
        }
        return true;
    }

    static mode_t CurrentUmask() {
        const mode_t mask = umask(0);
        umask(mask);
        return mask;
    }

    std::vector<std::string> lines_;
    std::string lineEnd_ = "\n";
};

DWORD CopyValue(const std::string& value, char* buffer, DWORD size) {
    const size_t count = std::min<size_t>(value.size(), size - 1);
    std::memcpy(buffer, value.data(), count);
    buffer[count] = '\0';
    return static_cast<DWORD>(count);
}

// Each name terminated, the list ended by one more terminator; a list that
// does not fit is cut and still double-terminated, returning size - 2.
DWORD CopyNameList(const std::vector<std::string>& names, char* buffer, DWORD size) {
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    size_t used = 0;
    for (const auto& name : names) {
        if (used + name.size() + 2 > size) {
            // The previous name may already have filled the buffer up to
            // its last byte.
            const size_t room = used < size - 2 ? size - 2 - used : 0;
            std::memcpy(buffer + used, name.data(), room);
            buffer[size - 2] = '\0';
            buffer[size - 1] = '\0';
            return size - 2;
        }
        std::memcpy(buffer + used, name.c_str(), name.size() + 1);
        used += name.size() + 1;
    }
    buffer[used] = '\0';
    return static_cast<DWORD>(used);
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

// The platform's integer reading: blanks, sign, a base prefix, then digits
// up to the first that does not belong; overflow wraps as unsigned 32-bit.
UINT ParseProfileInteger(const char* text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p != '\0' && *p <= ' ') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    unsigned base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) base = 16;
    else if (p[0] == '0' && (p[1] == 'o' || p[1] == 'O')) base = 8;
    else if (p[0] == '0' && (p[1] == 'b' || p[1] == 'B')) base = 2;
    if (base != 10) p += 2;
    UINT value = 0;
    for (int digit = DigitValue(static_cast<char>(*p)); digit < static_cast<int>(base);
         digit = DigitValue(static_cast<char>(*++p))) {
        value = value * base + static_cast<UINT>(digit);
    }
    return negative ? 0u - value : value;
}

}  // namespace

UINT GetPrivateProfileIntA(const char* section, const char* key, int defaultValue,
                           const char* file) {
    char text[kIntegerTextSize];
    if (GetPrivateProfileStringA(section, key, "", text, sizeof text, file) == 0) {
        return static_cast<UINT>(defaultValue);
    }
    return ParseProfileInteger(text);
}

DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                               char* buffer, DWORD size, const char* file) {
    if (buffer == nullptr || size == 0) return 0;
    const std::optional<ProfileFile> profile =
        file != nullptr ? ProfileFile::Load(file) : std::nullopt;
    if (profile && section == nullptr) return CopyNameList(profile->SectionNames(), buffer, size);
    if (profile && key == nullptr) return CopyNameList(profile->KeyNames(section), buffer, size);
    if (section == nullptr || key == nullptr) return CopyNameList({}, buffer, size);

    if (profile) {
        if (const auto value = profile->Value(section, key)) return CopyValue(*value, buffer, size);
    }
    // Trailing blanks of the default are dropped, as Windows does.
    std::string fallback = defaultValue != nullptr ? defaultValue : "";
    while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
    return CopyValue(fallback, buffer, size);
}

BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* file) {
    if (section == nullptr || file == nullptr || *file == '\0') return FALSE;
    // A line break would smuggle extra lines (keys, sections) into the file.
    for (const char* text : {section, key, value}) {
        if (text != nullptr && std::strpbrk(text, "\r\n") != nullptr) return FALSE;
    }
    std::optional<ProfileFile> profile = ProfileFile::Load(file);
    if (!profile) return FALSE;
    if (key == nullptr) {
        profile->RemoveSection(section);
    } else if (value == nullptr) {
        profile->RemoveKey(section, key);
    } else {
        profile->SetValue(section, key, value);
    }
    return profile->Save(file);
}

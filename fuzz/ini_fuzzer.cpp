// Writes arbitrary bytes as an INI file and reads it back every way the
// profile reader offers: section list, key lists, values and integers, with
// small and large buffers. Every answer must stay inside its buffer and end
// in a terminator.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <kxplatform/fileapi.h>
#include <kxplatform/profileapi.h>

namespace {

std::string IniPath()
{
    char dir[MAX_PATH] = {};
    char name[MAX_PATH] = {};
    if (GetTempPathA(MAX_PATH, dir) == 0 || GetTempFileNameA(dir, "kxini", 0, name) == 0)
        std::abort();
    return name;
}

const std::string gIniPath = IniPath();

void CheckTerminated(const std::vector<char>& buffer, DWORD copied)
{
    if (copied >= buffer.size() || buffer[copied] != '\0')
        std::abort();
}

// Splits a double-terminated list into its names.
std::vector<std::string> Names(const std::vector<char>& buffer)
{
    std::vector<std::string> names;
    for (const char* p = buffer.data(); *p != '\0' && p < buffer.data() + buffer.size();
         p += std::strlen(p) + 1)
        names.emplace_back(p);
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* file = std::fopen(gIniPath.c_str(), "wb");
    if (file == nullptr)
        std::abort();
    if (size != 0)
        std::fwrite(data, 1, size, file);
    std::fclose(file);

    const char* ini = gIniPath.c_str();
    for (const DWORD bufferSize : {DWORD{1}, DWORD{7}, DWORD{4096}}) {
        std::vector<char> sections(bufferSize + 1, 'x');
        const DWORD copied =
            GetPrivateProfileStringA(nullptr, nullptr, "", sections.data(), bufferSize, ini);
        CheckTerminated(sections, copied);
        if (bufferSize < 4096)
            continue;
        std::size_t visited = 0;
        for (const std::string& section : Names(sections)) {
            if (++visited > 16)
                break;
            std::vector<char> keys(bufferSize + 1, 'x');
            CheckTerminated(keys, GetPrivateProfileStringA(section.c_str(), nullptr, "",
                                                           keys.data(), bufferSize, ini));
            std::size_t keyCount = 0;
            for (const std::string& key : Names(keys)) {
                if (++keyCount > 16)
                    break;
                std::vector<char> value(64, 'x');
                CheckTerminated(value, GetPrivateProfileStringA(section.c_str(), key.c_str(), "d",
                                                                value.data(), 63, ini));
                (void)GetPrivateProfileIntA(section.c_str(), key.c_str(), -1, ini);
            }
        }
    }
    return 0;
}

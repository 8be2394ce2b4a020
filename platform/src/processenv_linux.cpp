#include <kxplatform/processenv.h>

#include <cstdlib>
#include <cstring>

DWORD GetEnvironmentVariableA(const char* name, char* buffer, DWORD size) {
    if (name == nullptr) return 0;
    const char* value = std::getenv(name);
    if (value == nullptr) return 0;
    const std::size_t length = std::strlen(value);
    if (buffer == nullptr || length >= size) return static_cast<DWORD>(length + 1);
    std::memcpy(buffer, value, length + 1);
    return static_cast<DWORD>(length);
}

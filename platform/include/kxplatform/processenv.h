/* The process's environment variables. */
#ifndef KXPLATFORM_PROCESSENV_H
#define KXPLATFORM_PROCESSENV_H

#include <kxplatform/export.h>
#include <kxplatform/wintypes.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Copies the value of the variable into buffer and returns its length
 * (without the terminating zero). When the buffer is too small (or null
 * with size 0) nothing is copied and the size needed, terminating zero
 * included, is returned. 0 when the variable is not set. */
KXPLATFORM_API DWORD GetEnvironmentVariableA(const char* name, char* buffer, DWORD size);

#ifdef __cplusplus
}

#include <string>

/* The value as a string; empty when the variable is not set or empty. */
inline std::string KXEnvironmentVariable(const char* name) {
    const DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
    if (needed <= 1) return std::string();
    std::string value(needed, '\0');
    const DWORD length = GetEnvironmentVariableA(name, &value[0], needed);
    value.resize(length < needed ? length : 0);
    return value;
}
#endif

#endif

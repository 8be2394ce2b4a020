/* String comparison that ignores the case of ASCII letters, as Windows
 * compares file extensions, settings keys and option words. Independent of
 * the C library's locale. */
#ifndef KXPLATFORM_STRINGAPI_H
#define KXPLATFORM_STRINGAPI_H

#include <stddef.h>

#include <kxplatform/export.h>

#ifdef __cplusplus
extern "C" {
#endif

/* <0, 0 or >0 as a is before, equal to or after b, ignoring case. */
KXPLATFORM_API int lstrcmpiA(const char* a, const char* b);
/* The same over at most count characters. */
KXPLATFORM_API int _strnicmp(const char* a, const char* b, size_t count);

#ifdef __cplusplus
}
#endif

#endif

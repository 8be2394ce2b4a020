/* Private-profile (INI) files with the Windows semantics: sections and keys
 * match case-insensitively, values are trimmed of surrounding blanks and of
 * one pair of matching quotes, a missing file, section or key gives the
 * default, and writing creates the file. A write replaces the file as a
 * whole (written beside it, then renamed), so a reader never sees it
 * half-written. */
#ifndef KXPLATFORM_PROFILEAPI_H
#define KXPLATFORM_PROFILEAPI_H

#include <kxplatform/export.h>
#include <kxplatform/wintypes.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The key's value read as an integer with the platform rules: leading
 * blanks, an optional sign, then decimal digits, or "0x" hex, "0o" octal,
 * "0b" binary; reading stops at the first other character (so "12ab" is 12
 * and "ab" is 0). A missing or empty value gives the default. */
KXPLATFORM_API UINT GetPrivateProfileIntA(const char* section, const char* key, int defaultValue,
                                          const char* file);

/* Copies the value (or the default; null means "") into the buffer,
 * truncated to size - 1 characters, and returns the number copied. A null
 * key lists the section's keys, a null section lists the section names,
 * each terminated, the list ended by an extra terminator. */
KXPLATFORM_API DWORD GetPrivateProfileStringA(const char* section, const char* key,
                                              const char* defaultValue, char* buffer, DWORD size,
                                              const char* file);

/* Sets the key (adding the section and the key at their ends when missing);
 * a null value removes the key, a null key removes the section. */
KXPLATFORM_API BOOL WritePrivateProfileStringA(const char* section, const char* key,
                                               const char* value, const char* file);

#ifdef __cplusplus
}
#endif

#endif

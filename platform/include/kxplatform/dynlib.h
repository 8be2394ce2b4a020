/* Dynamic libraries: load by bare name (the running program's directory is
 * searched first), bind by name or by ordinal.
 *
 * ELF has no ordinals, so a module that offers them exports a data symbol
 * named by KX_ORDINAL_TABLE_SYMBOL holding an ORDINAL_TABLE; GetProcAddress
 * with MAKEINTRESOURCE(n) binds entry n of it. A missing library or symbol is
 * a null result, never a crash. */
#ifndef KXPLATFORM_DYNLIB_H
#define KXPLATFORM_DYNLIB_H

#include <stdint.h>

#include <kxplatform/export.h>
#include <kxplatform/wintypes.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void (*FARPROC)(void);

typedef struct ORDINAL_TABLE {
    int count;               /* ordinals 1 .. count */
    const FARPROC* entries;  /* entries[n - 1] is ordinal n */
} ORDINAL_TABLE;

#define KX_ORDINAL_TABLE_SYMBOL "OrdinalTable"

/* An ordinal travels in the name argument as a small integer, as on Windows. */
#define MAKEINTRESOURCE(n) ((const char*)(uintptr_t)(uint16_t)(n))
#define IS_INTRESOURCE(p) (((uintptr_t)(p) >> 16) == 0)

/* Loads a library; a bare name ("dxfin") is completed to the platform's file
 * name ("libdxfin.so") and looked up beside the running program first. */
KXPLATFORM_API HMODULE LoadLibraryA(const char* name);
KXPLATFORM_API FARPROC GetProcAddress(HMODULE module, const char* nameOrOrdinal);
KXPLATFORM_API BOOL FreeLibrary(HMODULE module);

#ifdef __cplusplus
}
#endif

#endif

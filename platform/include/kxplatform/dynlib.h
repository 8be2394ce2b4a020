/* Dynamic libraries: load by bare name, bind by name or by ordinal, and the
 * file path of a module or of the running program.
 *
 * A bare name ("dxfin") is completed to the platform's library file name
 * ("libdxfin.so") and looked for, in this order, beside the running program,
 * beside the module that calls LoadLibraryA (so a host elsewhere still finds
 * a plug-in installed beside the engine), then on the system's library path.
 *
 * ELF has no ordinals, so a module that offers them exports a data symbol
 * named by KX_ORDINAL_TABLE_SYMBOL holding an ORDINAL_TABLE; GetProcAddress
 * with MAKEINTRESOURCE(n) binds entry n of it. A missing library, symbol or
 * ordinal is a null result, never a crash. */
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

KXPLATFORM_API HMODULE LoadLibraryA(const char* name);
/* Binds a symbol defined by the module itself (not one it merely imports). */
KXPLATFORM_API FARPROC GetProcAddress(HMODULE module, const char* nameOrOrdinal);
KXPLATFORM_API BOOL FreeLibrary(HMODULE module);

/* Full path of the module's file; a null module means the running program.
 * Returns the length copied; when the buffer is too small the path is
 * truncated to size - 1 characters and size is returned. 0 on failure. */
KXPLATFORM_API DWORD GetModuleFileNameA(HMODULE module, char* buffer, DWORD size);

#define GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT 0x2u
#define GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS 0x4u

/* With GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, the module that holds the
 * address (a function or variable of it); only that form is offered, and
 * always with the reference count unchanged. FALSE when no loaded module
 * holds it. */
KXPLATFORM_API BOOL GetModuleHandleExA(DWORD flags, const void* address, HMODULE* module);

#ifdef __cplusplus
}
#endif

#endif

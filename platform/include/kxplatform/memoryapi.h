/* Virtual memory: whole pages straight from the system, for stores that
 * grow by hundreds of megabytes, a way to have pages backed before they
 * are first touched, and read-only views of files. Windows names and
 * shapes. */
#ifndef KXPLATFORM_MEMORYAPI_H
#define KXPLATFORM_MEMORYAPI_H

#include <stddef.h>

#include <kxplatform/export.h>
#include <kxplatform/fileapi.h>
#include <kxplatform/wintypes.h>

#ifdef __cplusplus
extern "C" {
#endif

#define MEM_COMMIT 0x00001000u
#define MEM_RESERVE 0x00002000u
#define MEM_RELEASE 0x00008000u
#define PAGE_READONLY 0x02u
#define PAGE_READWRITE 0x04u
#define FILE_MAP_READ 0x0004u
/* View offsets are multiples of this, as on Windows. */
#define KX_ALLOCATION_GRANULARITY 0x10000u

typedef struct _WIN32_MEMORY_RANGE_ENTRY {
    void* VirtualAddress;
    size_t NumberOfBytes;
} WIN32_MEMORY_RANGE_ENTRY;

/* Zeroed, page-aligned, readable and writable memory of at least `size`
 * bytes. Only a new region (address null) committed and reserved at once
 * (MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE) is offered. Null on failure. */
KXPLATFORM_API void* VirtualAlloc(void* address, size_t size, DWORD allocationType, DWORD protect);
/* Releases a whole region made by VirtualAlloc: size 0 and MEM_RELEASE. */
KXPLATFORM_API BOOL VirtualFree(void* address, size_t size, DWORD freeType);

/* The calling process, for the calls that name one. */
KXPLATFORM_API HANDLE GetCurrentProcess(void);
/* Backs the pages of the ranges with memory now, so that touching them
 * later costs no page faults. Another thread may use the pages meanwhile.
 * Ranges must lie in regions made by VirtualAlloc; flags must be 0. FALSE
 * when the system cannot do it (nothing is lost: the pages are then backed
 * when they are first touched). */
KXPLATFORM_API BOOL PrefetchVirtualMemory(HANDLE process, size_t numberOfEntries,
                                          WIN32_MEMORY_RANGE_ENTRY* virtualAddresses, DWORD flags);

/* A read-only mapping of a file opened by CreateFileA: protect
 * PAGE_READONLY, no name, a maximum size of 0 (the file's size now) or at
 * most the file's size. Null on failure and for an empty file, as on
 * Windows. Closed with CloseHandle; its views stay valid until unmapped. */
KXPLATFORM_API HANDLE CreateFileMappingA(HANDLE file, SECURITY_ATTRIBUTES* attributes, DWORD protect,
                                         DWORD maximumSizeHigh, DWORD maximumSizeLow, const char* name);
/* The bytes of a mapping from the offset (a multiple of
 * KX_ALLOCATION_GRANULARITY), bytesToMap of them or, with 0, up to the
 * mapping's end; access FILE_MAP_READ. Null on failure or a range outside
 * the mapping. The view reads the file itself: the file must not be cut
 * short while it is mapped. */
KXPLATFORM_API void* MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD fileOffsetHigh, DWORD fileOffsetLow,
                                   size_t bytesToMap);
/* Unmaps a view by the address MapViewOfFile returned; FALSE for any other. */
KXPLATFORM_API BOOL UnmapViewOfFile(const void* baseAddress);

#ifdef __cplusplus
}
#endif

#endif

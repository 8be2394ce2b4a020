/* File services: temporary directory and unique temporary files, current
 * directory, one-level directory creation, deletion, attributes and the
 * wildcard directory search. Windows names and shapes; paths use the native
 * separator (pathsep.h). */
#ifndef KXPLATFORM_FILEAPI_H
#define KXPLATFORM_FILEAPI_H

#include <kxplatform/export.h>
#include <kxplatform/pathsep.h>
#include <kxplatform/wintypes.h>

#ifdef __cplusplus
extern "C" {
#endif

#define FILE_ATTRIBUTE_READONLY 0x01u
#define FILE_ATTRIBUTE_DIRECTORY 0x10u
#define FILE_ATTRIBUTE_DEVICE 0x40u
#define FILE_ATTRIBUTE_NORMAL 0x80u
#define INVALID_FILE_ATTRIBUTES 0xFFFFFFFFu

/* 100-nanosecond intervals since 1601-01-01 UTC. */
typedef struct _FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
} FILETIME;

typedef struct _WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    char cFileName[MAX_PATH];
    char cAlternateFileName[14];
} WIN32_FIND_DATAA;

/* What GetFileAttributesExA reports of a file. */
typedef enum _GET_FILEEX_INFO_LEVELS { GetFileExInfoStandard } GET_FILEEX_INFO_LEVELS;

typedef struct _WIN32_FILE_ATTRIBUTE_DATA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
} WIN32_FILE_ATTRIBUTE_DATA;

/* Only the shape: the platform applies its default permissions. */
typedef struct _SECURITY_ATTRIBUTES {
    DWORD nLength;
    void* lpSecurityDescriptor;
    BOOL bInheritHandle;
} SECURITY_ATTRIBUTES;

/* The temporary directory, ending in a separator: $TMPDIR when set, else
 * the system's. Returns its length; when the buffer is too small, the size
 * needed including the terminator and the buffer is left alone. 0 on
 * failure. */
KXPLATFORM_API DWORD GetTempPathA(DWORD bufferLength, char* buffer);

/* With unique == 0, creates a new empty file path + prefix + 4 hex digits +
 * ".tmp" that did not exist before and returns the number used; with a
 * non-zero unique, only forms the name from it. The whole prefix is kept.
 * name receives up to MAX_PATH bytes. 0 on failure (missing directory, name
 * too long, every number taken). */
KXPLATFORM_API UINT GetTempFileNameA(const char* path, const char* prefix, UINT unique,
                                     char* name);

/* Length of the current directory (no final separator except the root);
 * when the buffer is too small, the size needed including the terminator. */
KXPLATFORM_API DWORD GetCurrentDirectoryA(DWORD bufferLength, char* buffer);
KXPLATFORM_API BOOL SetCurrentDirectoryA(const char* path);

/* Creates one directory; its parent must exist. Fails when it exists. */
KXPLATFORM_API BOOL CreateDirectoryA(const char* path, SECURITY_ATTRIBUTES* security);
/* Deletes a file (not a directory). */
KXPLATFORM_API BOOL DeleteFileA(const char* path);
/* MoveFileExA flags. */
#define MOVEFILE_REPLACE_EXISTING 0x1u
#define MOVEFILE_WRITE_THROUGH 0x8u

/* Renames a file within its file system, in one step: a reader of newName
 * sees the old file or the new one, never a mix. Without
 * MOVEFILE_REPLACE_EXISTING it fails when newName exists; with it, it
 * replaces a file (never a directory), and the moved file takes the replaced
 * one's access rights, or a new file's usual rights (0666 less the umask)
 * when none is replaced, as a file made by GetTempFileNameA is private.
 * MOVEFILE_WRITE_THROUGH flushes the file's data to the disk before the move
 * and the move itself after it. */
KXPLATFORM_API BOOL MoveFileExA(const char* existingName, const char* newName, DWORD flags);
/* FILE_ATTRIBUTE_* bits, or INVALID_FILE_ATTRIBUTES when nothing is there. */
KXPLATFORM_API DWORD GetFileAttributesA(const char* path);
/* Attributes, times and size (level GetFileExInfoStandard, information a
 * WIN32_FILE_ATTRIBUTE_DATA); FALSE when nothing is there. */
KXPLATFORM_API BOOL GetFileAttributesExA(const char* path, GET_FILEEX_INFO_LEVELS level,
                                         void* information);

/* CreateFileA: only an existing file opened for reading is offered. */
#define GENERIC_READ 0x80000000u
#define FILE_SHARE_READ 0x1u
#define OPEN_EXISTING 3u
#define INVALID_FILE_SIZE 0xFFFFFFFFu

/* Opens an existing file (not a directory) for reading: access GENERIC_READ,
 * disposition OPEN_EXISTING, no template; the share mode, security and flags
 * are taken as given and change nothing. INVALID_HANDLE_VALUE on failure.
 * The handle is closed with CloseHandle (handleapi.h). */
KXPLATFORM_API HANDLE CreateFileA(const char* name, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                                  DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile);
/* The low 32 bits of the size of a file opened by CreateFileA, the high 32
 * bits in *sizeHigh when it is given. INVALID_FILE_SIZE on failure (with
 * *sizeHigh set to INVALID_FILE_SIZE too, as a size cannot be that). */
KXPLATFORM_API DWORD GetFileSize(HANDLE file, DWORD* sizeHigh);

/* Wildcard search of one directory: the pattern is a directory part and a
 * name part with '*' and '?', matched case-insensitively as the Windows file
 * system does ("*.dxf" finds "PLAN.DXF"; "*.*" matches every name). Entries
 * come in case-insensitive name order, "." and ".." included when they match.
 * INVALID_HANDLE_VALUE when the directory cannot be read or nothing matches. */
KXPLATFORM_API HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* data);
KXPLATFORM_API BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data);
KXPLATFORM_API BOOL FindClose(HANDLE search);

#ifdef __cplusplus
}
#endif

#endif

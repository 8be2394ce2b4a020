/* Base types of the platform layer.
 *
 * The engine was written against the Windows API; these are the shapes it
 * uses, kept under their Windows names so engine code reads unchanged.
 * Handles are opaque pointers owned by the platform layer. */
#ifndef KXPLATFORM_WINTYPES_H
#define KXPLATFORM_WINTYPES_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t UINT;
typedef uint32_t COLORREF; /* 0x00BBGGRR */
typedef intptr_t LRESULT;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define MAX_PATH 260

typedef struct HDC__* HDC;
typedef struct HWND__* HWND;
typedef struct HGDIOBJ__* HGDIOBJ;
typedef HGDIOBJ HPEN;
typedef HGDIOBJ HBRUSH;
typedef struct HMODULE__* HMODULE;
typedef HMODULE HINSTANCE;
typedef void* HANDLE;

#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)

/* Shared with the public headers (korvex/kxtypes.h): one definition of the
 * rectangle record, whichever header comes first. */
#ifndef KX_RECT_DEFINED
#define KX_RECT_DEFINED
typedef struct KXRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
} KXRect;
#endif
typedef KXRect RECT;

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT;

#define RGB(r, g, b) \
    ((COLORREF)(((BYTE)(r)) | ((WORD)((BYTE)(g)) << 8) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) ((BYTE)((c)&0xFF))
#define GetGValue(c) ((BYTE)(((c) >> 8) & 0xFF))
#define GetBValue(c) ((BYTE)(((c) >> 16) & 0xFF))

#ifdef __cplusplus
}
#endif

#endif

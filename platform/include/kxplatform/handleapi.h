/* Closing the handles of files and file mappings. Windows name and shape. */
#ifndef KXPLATFORM_HANDLEAPI_H
#define KXPLATFORM_HANDLEAPI_H

#include <kxplatform/export.h>
#include <kxplatform/wintypes.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Closes a handle made by CreateFileA or CreateFileMappingA; FALSE for any
 * other value, a handle already closed included. */
KXPLATFORM_API BOOL CloseHandle(HANDLE object);

#ifdef __cplusplus
}
#endif

#endif

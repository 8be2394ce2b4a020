/* Debug output strings. Every text goes to one process-wide sink; a test
 * installs its own to capture them. Without a sink the text is written to
 * standard error only when the environment asks for it (KX_DEBUG_OUTPUT=1),
 * as a debugger would show it; otherwise it is dropped. */
#ifndef KXPLATFORM_DEBUGAPI_H
#define KXPLATFORM_DEBUGAPI_H

#include <kxplatform/export.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void (*KXDEBUGSINK)(const char* text, void* context);

KXPLATFORM_API void OutputDebugStringA(const char* text);

/* What happens to a text while no sink is installed (stderr on request); a
 * sink that passes texts on may call it. */
KXPLATFORM_API void DefaultDebugOutputSink(const char* text, void* context);

/* Installs the sink (null restores the default) and returns the previous
 * one with its context. Calls to the sink are serialised; a sink must not
 * itself call OutputDebugStringA. */
KXPLATFORM_API KXDEBUGSINK SetDebugOutputSink(KXDEBUGSINK sink, void* context,
                                              void** previousContext);

#ifdef __cplusplus
}
#endif

#endif

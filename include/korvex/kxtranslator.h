/* The translator plug-in contract.
 *
 * A translator is a shared library exporting TranslatorRead by name. The
 * engine loads it by file extension (".dxf" -> dxfin, ".dwf" -> dwfin) or by
 * an explicit library name given to KXRead, and calls it on the caller's
 * thread with the input path and the document handle. The translator fills
 * the document through the construction exports (kxbuild.h, kxclip.h,
 * kxdoc.h layouts and properties) and returns non-zero when the file was
 * read to its end. Anything it throws is caught by KXRead, which then
 * returns 0; entities already added stay in the document. */
#ifndef KORVEX_KXTRANSLATOR_H
#define KORVEX_KXTRANSLATOR_H

#include <korvex/kxtypes.h>

#ifdef __cplusplus
extern "C" {
#endif

#define KX_TRANSLATOR_ENTRY "TranslatorRead"

typedef int (*KXTranslatorReadFn)(const char* path, KXDOC doc);

#ifdef __cplusplus
}
#endif

#endif

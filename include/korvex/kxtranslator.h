/* The translator plug-in contract.
 *
 * A translator is a shared library exporting, by name, the C function
 *
 *     int TranslatorRead(const char* path, KXDOC doc);
 *
 * The engine picks the library by the input's extension (".dxf" -> dxfin,
 * ".dwf" -> dwfin, compared case-insensitively) unless KXRead names one, and
 * loads it by its bare name ("dxfin" becomes the platform's file name, the
 * running program's directory searched first). It is never unloaded.
 *
 * The call is made on the caller's thread with the path exactly as given to
 * KXRead and the document handle from KXCreateDocInstance. The document's
 * file name already holds the path, and KXGetCurrentLayout tells which
 * layout the caller asked for. The translator fills the document only
 * through the construction exports (kxbuild.h, kxclip.h, and the layouts and
 * properties of kxdoc.h), passing the handle back as their first argument;
 * it must not keep the handle after returning, nor finish (KXClose) or
 * delete the document.
 *
 * Result: non-zero when the file was read to its end; KXRead returns it
 * unchanged. Zero, or any exception leaving the function, makes KXRead
 * return 0; entities already added stay in the document, which can still be
 * finished and written. */
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

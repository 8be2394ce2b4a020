// Reads a file into a document through a translator plug-in: the library
// is chosen by the path's extension (or named by the caller), loaded by its
// bare name with the program's directory searched first, and its
// TranslatorRead entry called on the caller's thread. Translators are never
// unloaded: the document keeps the handle of the last load.
#pragma once

#include <string>

#include "CKXDoc.h"

class CKXTranslatorLoader {
public:
    // Extensions are the last four characters of a path longer than that.
    static constexpr std::size_t kExtensionLength = 4;

    // The translator library for a path ("dxfin" for ".dxf", "dwfin" for
    // ".dwf", any case); empty when none matches.
    static std::string LibraryFor(const std::string& path);

    // KXRead: the translator's result, or 0 when no library matches, it
    // cannot be loaded, has no entry, or throws.
    static int Read(CKXDoc& doc, const char* path, const char* library);
};

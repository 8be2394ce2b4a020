#include "CKXTranslatorLoader.h"

#include <cctype>

#include <korvex/kxtranslator.h>
#include <kxplatform/dynlib.h>
#include <kxplatform/stringapi.h>

namespace {
struct ExtensionEntry {
    const char* extension;
    const char* library;
};
// Libraries by bare name: the platform completes it to its own file name.
const ExtensionEntry kExtensionTable[] = {
    {".dxf", "dxfin"},
    {".dwf", "dwfin"},
};

}  // namespace

std::string CKXTranslatorLoader::LibraryFor(const std::string& path) {
    if (path.size() <= kExtensionLength) return {};
    const std::string extension = path.substr(path.size() - kExtensionLength);
    for (const ExtensionEntry& entry : kExtensionTable) {
        if (lstrcmpiA(extension.c_str(), entry.extension) == 0) return entry.library;
    }
    return {};
}

int CKXTranslatorLoader::Read(CKXDoc& doc, const char* path, const char* library) {
    if (path == nullptr) return 0;
    const std::string name = library != nullptr && *library != '\0' ? std::string(library) : LibraryFor(path);
    if (name.empty()) return 0;
    HMODULE module = LoadLibraryA(name.c_str());
    doc.SetModule(module);
    if (module == nullptr) return 0;
    const auto entry = reinterpret_cast<KXTranslatorReadFn>(GetProcAddress(module, KX_TRANSLATOR_ENTRY));
    if (entry == nullptr) return 0;
    doc.SetFileName(path);
    // A translator is foreign code: whatever it throws ends the read, and
    // what it added so far stays in the document.
    try {
        return entry(path, static_cast<KXDOC>(&doc));
    } catch (...) {
        return 0;
    }
}

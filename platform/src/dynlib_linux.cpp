// Dynamic libraries on ELF: dlopen/dlsym behind the Windows shapes.
#include <kxplatform/dynlib.h>

#include <dlfcn.h>

#include <string>

HMODULE LoadLibraryA(const char* name) {
    if (name == nullptr || *name == '\0') return nullptr;
    return reinterpret_cast<HMODULE>(dlopen(name, RTLD_NOW | RTLD_LOCAL));
}

FARPROC GetProcAddress(HMODULE module, const char* nameOrOrdinal) {
    if (module == nullptr || nameOrOrdinal == nullptr) return nullptr;
    void* handle = reinterpret_cast<void*>(module);
    if (IS_INTRESOURCE(nameOrOrdinal)) {
        const auto ordinal = static_cast<int>(reinterpret_cast<uintptr_t>(nameOrOrdinal));
        const auto* table = static_cast<const ORDINAL_TABLE*>(dlsym(handle, KX_ORDINAL_TABLE_SYMBOL));
        if (table == nullptr || ordinal < 1 || ordinal > table->count) return nullptr;
        return table->entries[ordinal - 1];
    }
    return reinterpret_cast<FARPROC>(dlsym(handle, nameOrOrdinal));
}

BOOL FreeLibrary(HMODULE module) {
    return module != nullptr && dlclose(reinterpret_cast<void*>(module)) == 0;
}

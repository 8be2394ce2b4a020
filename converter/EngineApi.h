// The seven engine calls the converter uses, bound by ordinal from kxcore.
#pragma once

#include <korvex/kxtypes.h>

#include <optional>

struct EngineApi {
    static constexpr const char* kLibraryName = "libkxcore.so.1";  // the ABI this program was built for

    KXDOC (*createDocInstance)(void) = nullptr;
    int (*read)(KXDOC doc, const char* path, const char* library) = nullptr;
    int (*close)(KXDOC doc, int reserved) = nullptr;
    int (*write)(KXDOC doc, const char* path) = nullptr;
    void (*deleteDocInstance)(KXDOC doc) = nullptr;
    void (*setCurrentLayout)(KXDOC doc, int index) = nullptr;
    int (*getNumLayouts)(KXDOC doc) = nullptr;

    // Loads the library (never unloaded) and binds every call by its
    // ordinal; nullopt when the library or any ordinal is missing.
    static std::optional<EngineApi> BindByOrdinal(const char* library = kLibraryName);
};

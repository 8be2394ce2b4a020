#include "EngineApi.h"

#include <korvex/kxordinals.h>
#include <kxplatform/dynlib.h>

namespace {

template <typename Fn>
bool BindOrdinal(HMODULE module, int ordinal, Fn*& target) {
    target = reinterpret_cast<Fn*>(GetProcAddress(module, MAKEINTRESOURCE(ordinal)));
    return target != nullptr;
}

}  // namespace

std::optional<EngineApi> EngineApi::BindByOrdinal(const char* library) {
    const HMODULE module = LoadLibraryA(library);
    if (module == nullptr) return std::nullopt;
    EngineApi api;
    const bool bound = BindOrdinal(module, KXORD_CreateDocInstance, api.createDocInstance) &&
                       BindOrdinal(module, KXORD_Read, api.read) &&
                       BindOrdinal(module, KXORD_Close, api.close) &&
                       BindOrdinal(module, KXORD_Write, api.write) &&
                       BindOrdinal(module, KXORD_DeleteDocInstance, api.deleteDocInstance) &&
                       BindOrdinal(module, KXORD_SetCurrentLayout, api.setCurrentLayout) &&
                       BindOrdinal(module, KXORD_GetNumLayouts, api.getNumLayouts);
    if (!bound) return std::nullopt;
    return api;
}

// Dynamic libraries on ELF: dlopen/dlsym behind the Windows shapes.
#include <kxplatform/debugapi.h>
#include <kxplatform/dynlib.h>
#include <kxplatform/pathsep.h>

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* kLibraryPrefix = "lib";
constexpr const char* kLibrarySuffix = ".so";
constexpr const char* kRunningProgramLink = "/proc/self/exe";
constexpr const char* kPluginFolder = "korvex/";

bool HasSeparator(const std::string& path) {
    return path.find(KX_PATH_SEPARATOR) != std::string::npos;
}

// "libx.so", "libx.so.1": already a file name, used as it stands.
bool IsLibraryFileName(const std::string& name) {
    const std::string suffix = kLibrarySuffix;
    const auto at = name.rfind(suffix);
    if (at == std::string::npos) return false;
    const auto after = at + suffix.size();
    return after == name.size() || name[after] == '.';
}

// The names a bare library name may have on disk, most specific first.
std::vector<std::string> CandidateFileNames(const std::string& name) {
    if (IsLibraryFileName(name)) return {name};
    return {kLibraryPrefix + name + kLibrarySuffix, name + kLibrarySuffix, name};
}

std::string DirectoryOf(const std::string& path) {
    const auto cut = path.rfind(KX_PATH_SEPARATOR);
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string RunningProgramPath() {
    std::array<char, PATH_MAX> buffer{};
    const ssize_t length = readlink(kRunningProgramLink, buffer.data(), buffer.size() - 1);
    if (length <= 0) return {};
    return std::string(buffer.data(), static_cast<size_t>(length));
}

// The directory of the module holding the address (the caller of
// LoadLibraryA), or "" when it cannot be told.
std::string DirectoryOfModuleAt(const void* address) {
    Dl_info info{};
    if (address == nullptr || dladdr(address, &info) == 0 || info.dli_fname == nullptr) return {};
    return DirectoryOf(info.dli_fname);
}

void ReportLoadFailure(const std::string& path) {
    const char* reason = dlerror();
    std::string line = "LoadLibraryA: cannot load " + path;
    if (reason != nullptr) line += std::string(": ") + reason;
    line += "\n";
    OutputDebugStringA(line.c_str());
}

void* OpenExistingFile(const std::string& path) {
    if (access(path.c_str(), F_OK) != 0) return nullptr;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) ReportLoadFailure(path);
    return handle;
}

void* OpenInDirectories(const std::vector<std::string>& directories,
                        const std::vector<std::string>& fileNames) {
    for (const auto& directory : directories) {
        if (directory.empty()) continue;
        for (const auto& fileName : fileNames) {
            if (void* handle = OpenExistingFile(directory + fileName)) return handle;
        }
    }
    return nullptr;
}

void* OpenOnSystemPath(const std::vector<std::string>& fileNames) {
    for (const auto& fileName : fileNames) {
        if (void* handle = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
    }
    return nullptr;
}

const link_map* LinkMapOf(void* handle) {
    link_map* map = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0) return nullptr;
    return map;
}

// dlsym also finds what a module's dependencies define; a Windows module
// exports only its own symbols, so anything found elsewhere is refused.
void* SymbolDefinedBy(void* handle, const char* name) {
    void* symbol = dlsym(handle, name);
    if (symbol == nullptr) return nullptr;
    Dl_info info{};
    link_map* owner = nullptr;
    if (dladdr1(symbol, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) == 0) {
        return nullptr;
    }
    return owner == LinkMapOf(handle) ? symbol : nullptr;
}

FARPROC ProcAtOrdinal(void* handle, int ordinal) {
    const auto* table =
        static_cast<const ORDINAL_TABLE*>(SymbolDefinedBy(handle, KX_ORDINAL_TABLE_SYMBOL));
    if (table == nullptr || table->entries == nullptr) return nullptr;
    if (ordinal < 1 || ordinal > table->count) return nullptr;
    return table->entries[ordinal - 1];
}

DWORD CopyTruncated(const std::string& text, char* buffer, DWORD size) {
    if (buffer == nullptr || size == 0 || text.empty()) return 0;
    if (text.size() < size) {
        std::memcpy(buffer, text.c_str(), text.size() + 1);
        return static_cast<DWORD>(text.size());
    }
    std::memcpy(buffer, text.data(), size - 1);
    buffer[size - 1] = '\0';
    return size;
}

}  // namespace

HMODULE LoadLibraryA(const char* name) {
    if (name == nullptr || *name == '\0') return nullptr;
    const void* caller = __builtin_return_address(0);
    const std::string requested = name;

    void* handle = nullptr;
    if (HasSeparator(requested)) {
        const std::string directory = DirectoryOf(requested);
        handle = OpenInDirectories({directory},
                                   CandidateFileNames(requested.substr(directory.size())));
    } else {
        const auto fileNames = CandidateFileNames(requested);
        // Beside the running program (the build tree, a flat installation),
        // then beside the module asking (the engine in <libdir>), then in
        // its plug-in folder (<libdir>/korvex/), then the system's path.
        const std::string callerDirectory = DirectoryOfModuleAt(caller);
        const std::string pluginDirectory =
            callerDirectory.empty() ? std::string() : callerDirectory + kPluginFolder;
        handle = OpenInDirectories(
            {DirectoryOf(RunningProgramPath()), callerDirectory, pluginDirectory}, fileNames);
        if (handle == nullptr) handle = OpenOnSystemPath(fileNames);
    }
    return reinterpret_cast<HMODULE>(handle);
}

FARPROC GetProcAddress(HMODULE module, const char* nameOrOrdinal) {
    if (module == nullptr || nameOrOrdinal == nullptr) return nullptr;
    void* handle = reinterpret_cast<void*>(module);
    if (IS_INTRESOURCE(nameOrOrdinal)) {
        return ProcAtOrdinal(handle, static_cast<int>(reinterpret_cast<uintptr_t>(nameOrOrdinal)));
    }
    return reinterpret_cast<FARPROC>(SymbolDefinedBy(handle, nameOrOrdinal));
}

BOOL FreeLibrary(HMODULE module) {
    return module != nullptr && dlclose(reinterpret_cast<void*>(module)) == 0;
}

BOOL GetModuleHandleExA(DWORD flags, const void* address, HMODULE* module) {
    if (module == nullptr) return FALSE;
    *module = nullptr;
    if ((flags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) == 0 || address == nullptr) return FALSE;
    Dl_info info{};
    if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return FALSE;
    // Already loaded: the handle stays valid after the extra reference is
    // given back.
    void* handle = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    if (handle == nullptr) return FALSE;
    dlclose(handle);
    *module = reinterpret_cast<HMODULE>(handle);
    return TRUE;
}

DWORD GetModuleFileNameA(HMODULE module, char* buffer, DWORD size) {
    std::string path;
    if (module == nullptr) {
        path = RunningProgramPath();
    } else if (const link_map* map = LinkMapOf(reinterpret_cast<void*>(module))) {
        path = (map->l_name != nullptr && *map->l_name != '\0') ? map->l_name : RunningProgramPath();
    }
    return CopyTruncated(path, buffer, size);
}

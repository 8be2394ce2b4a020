// Virtual memory over mmap. munmap needs the length that VirtualFree is not
// given, so each region starts with one page that records it; the caller
// gets the address just past that page.
#include <kxplatform/memoryapi.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <limits>

namespace {

std::size_t PageSize() {
    const long page = sysconf(_SC_PAGESIZE);
    return page > 0 ? static_cast<std::size_t>(page) : 4096;
}

struct RegionHeader {
    std::size_t mappedBytes;
};

bool IsPageAligned(const void* address) {
    return reinterpret_cast<std::uintptr_t>(address) % PageSize() == 0;
}

}  // namespace

extern "C" void* VirtualAlloc(void* address, size_t size, DWORD allocationType, DWORD protect) {
    if (address != nullptr || size == 0 || allocationType != (MEM_COMMIT | MEM_RESERVE) || protect != PAGE_READWRITE)
        return nullptr;
    const std::size_t page = PageSize();
    if (size > std::numeric_limits<std::size_t>::max() - 2 * page) return nullptr;
    const std::size_t bytes = (size + page - 1) / page * page + page;
    void* base = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) return nullptr;
    static_cast<RegionHeader*>(base)->mappedBytes = bytes;
    return static_cast<unsigned char*>(base) + page;
}

extern "C" BOOL VirtualFree(void* address, size_t size, DWORD freeType) {
    if (address == nullptr || size != 0 || freeType != MEM_RELEASE || !IsPageAligned(address)) return FALSE;
    void* base = static_cast<unsigned char*>(address) - PageSize();
    return munmap(base, static_cast<RegionHeader*>(base)->mappedBytes) == 0 ? TRUE : FALSE;
}

extern "C" HANDLE GetCurrentProcess(void) {
    // The pseudo handle Windows gives: it always means the caller.
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));
}

extern "C" BOOL PrefetchVirtualMemory(HANDLE process, size_t numberOfEntries,
                                      WIN32_MEMORY_RANGE_ENTRY* virtualAddresses, DWORD flags) {
    if (process != GetCurrentProcess() || flags != 0 || (numberOfEntries > 0 && virtualAddresses == nullptr))
        return FALSE;
#ifdef MADV_POPULATE_WRITE
    const auto page = static_cast<std::uintptr_t>(PageSize());
    BOOL ok = TRUE;
    for (size_t i = 0; i < numberOfEntries; ++i) {
        const WIN32_MEMORY_RANGE_ENTRY& range = virtualAddresses[i];
        if (range.NumberOfBytes == 0) continue;
        const auto start = reinterpret_cast<std::uintptr_t>(range.VirtualAddress);
        const std::uintptr_t first = start / page * page;
        const std::uintptr_t end = start + range.NumberOfBytes;
        if (end < start) return FALSE;
        // Kernels older than 5.14 refuse the advice: the pages then come
        // when they are touched.
        if (madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE) != 0) ok = FALSE;
    }
    return ok;
#else
    (void)numberOfEntries;
    (void)virtualAddresses;
    return FALSE;
#endif
}

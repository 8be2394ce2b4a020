#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include <kxplatform/memoryapi.h>

namespace {

constexpr DWORD kNew = MEM_COMMIT | MEM_RESERVE;

TEST(MemoryApi, RegionsAreZeroedAlignedWritableAndReleased) {
    const std::size_t size = 3 * 4096 + 17;
    auto* region = static_cast<unsigned char*>(VirtualAlloc(nullptr, size, kNew, PAGE_READWRITE));
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(region) % 4096, 0u);
    for (std::size_t i = 0; i < size; ++i) ASSERT_EQ(region[i], 0) << i;
    std::memset(region, 0xA5, size);
    EXPECT_TRUE(VirtualFree(region, 0, MEM_RELEASE));
}

TEST(MemoryApi, UnsupportedRequestsAreRefused) {
    EXPECT_EQ(VirtualAlloc(nullptr, 0, kNew, PAGE_READWRITE), nullptr);
    EXPECT_EQ(VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_READWRITE), nullptr);
    EXPECT_EQ(VirtualAlloc(nullptr, static_cast<size_t>(-1), kNew, PAGE_READWRITE), nullptr);
    void* region = VirtualAlloc(nullptr, 4096, kNew, PAGE_READWRITE);
    ASSERT_NE(region, nullptr);
    EXPECT_FALSE(VirtualFree(region, 4096, MEM_RELEASE));  // a size with MEM_RELEASE
    EXPECT_FALSE(VirtualFree(static_cast<unsigned char*>(region) + 1, 0, MEM_RELEASE));
    EXPECT_FALSE(VirtualFree(nullptr, 0, MEM_RELEASE));
    EXPECT_TRUE(VirtualFree(region, 0, MEM_RELEASE));
}

TEST(MemoryApi, PrefetchedPagesKeepTheirContent) {
    const std::size_t size = 64 * 4096;
    auto* region = static_cast<unsigned char*>(VirtualAlloc(nullptr, size, kNew, PAGE_READWRITE));
    ASSERT_NE(region, nullptr);
    region[5] = 7;
    WIN32_MEMORY_RANGE_ENTRY range{region, size};
    // Kernels without the advice say FALSE; the memory is the same either way.
    PrefetchVirtualMemory(GetCurrentProcess(), 1, &range, 0);
    EXPECT_EQ(region[5], 7);
    EXPECT_EQ(region[size - 1], 0);
    EXPECT_FALSE(PrefetchVirtualMemory(GetCurrentProcess(), 1, &range, 1));
    EXPECT_FALSE(PrefetchVirtualMemory(nullptr, 1, &range, 0));
    EXPECT_FALSE(PrefetchVirtualMemory(GetCurrentProcess(), 1, nullptr, 0));
    EXPECT_TRUE(VirtualFree(region, 0, MEM_RELEASE));
}

}  // namespace

// Files opened for reading and mapped read-only: the views show the file's
// bytes, outlive the handles they came from, and every request outside
// what is offered is refused without touching anything.
#include <kxplatform/fileapi.h>
#include <kxplatform/handleapi.h>
#include <kxplatform/memoryapi.h>

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

HANDLE OpenForReading(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

// Bytes whose every value tells its position, three granules and a bit long.
std::string Pattern() {
    std::string bytes(3 * KX_ALLOCATION_GRANULARITY + 123, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

TEST(FileMapping, AViewShowsTheFileAndOutlivesItsHandles) {
    ScratchDir dir;
    const std::string bytes = Pattern();
    dir.Write("data.bin", bytes);
    HANDLE file = OpenForReading(dir / "data.bin");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD high = 99;
    EXPECT_EQ(GetFileSize(file, &high), bytes.size());
    EXPECT_EQ(high, 0u);
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    ASSERT_NE(mapping, nullptr);
    EXPECT_TRUE(CloseHandle(file));
    const void* whole = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    const void* tail = MapViewOfFile(mapping, FILE_MAP_READ, 0, 2 * KX_ALLOCATION_GRANULARITY, 0);
    const void* part = MapViewOfFile(mapping, FILE_MAP_READ, 0, KX_ALLOCATION_GRANULARITY, 100);
    EXPECT_TRUE(CloseHandle(mapping));
    ASSERT_NE(whole, nullptr);
    ASSERT_NE(tail, nullptr);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(std::memcmp(whole, bytes.data(), bytes.size()), 0);
    EXPECT_EQ(std::memcmp(tail, bytes.data() + 2 * KX_ALLOCATION_GRANULARITY, KX_ALLOCATION_GRANULARITY + 123), 0);
    EXPECT_EQ(std::memcmp(part, bytes.data() + KX_ALLOCATION_GRANULARITY, 100), 0);
    EXPECT_TRUE(UnmapViewOfFile(whole));
    EXPECT_TRUE(UnmapViewOfFile(tail));
    EXPECT_TRUE(UnmapViewOfFile(part));
    EXPECT_FALSE(UnmapViewOfFile(whole));  // already gone
}

TEST(FileMapping, AMappingMayBeShorterThanTheFile) {
    ScratchDir dir;
    dir.Write("data.bin", Pattern());
    HANDLE file = OpenForReading(dir / "data.bin");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    HANDLE shorter = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, KX_ALLOCATION_GRANULARITY, nullptr);
    ASSERT_NE(shorter, nullptr);
    EXPECT_EQ(MapViewOfFile(shorter, FILE_MAP_READ, 0, 0, KX_ALLOCATION_GRANULARITY + 1), nullptr);
    EXPECT_EQ(MapViewOfFile(shorter, FILE_MAP_READ, 0, KX_ALLOCATION_GRANULARITY, 0), nullptr);
    const void* view = MapViewOfFile(shorter, FILE_MAP_READ, 0, 0, 0);
    EXPECT_NE(view, nullptr);
    EXPECT_TRUE(UnmapViewOfFile(view));
    // Growing a file needs it opened for writing.
    EXPECT_EQ(CreateFileMappingA(file, nullptr, PAGE_READONLY, 1, 0, nullptr), nullptr);
    EXPECT_TRUE(CloseHandle(shorter));
    EXPECT_TRUE(CloseHandle(file));
}

TEST(FileMapping, WhatIsNotOfferedIsRefused) {
    ScratchDir dir;
    dir.Write("data.bin", Pattern());
    dir.Write("empty.bin", "");
    EXPECT_EQ(OpenForReading(dir / "missing.bin"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenForReading(dir.path().string()), INVALID_HANDLE_VALUE);  // a directory
    EXPECT_EQ(CreateFileA((dir / "data.bin").c_str(), GENERIC_READ, 0, nullptr, 1 /* CREATE_NEW */, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(
        CreateFileA((dir / "data.bin").c_str(), 0x40000000u /* GENERIC_WRITE */, 0, nullptr, OPEN_EXISTING, 0, nullptr),
        INVALID_HANDLE_VALUE);

    // An empty file has no mapping, as on Windows.
    HANDLE empty = OpenForReading(dir / "empty.bin");
    ASSERT_NE(empty, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileSize(empty, nullptr), 0u);
    EXPECT_EQ(CreateFileMappingA(empty, nullptr, PAGE_READONLY, 0, 0, nullptr), nullptr);
    EXPECT_TRUE(CloseHandle(empty));

    HANDLE file = OpenForReading(dir / "data.bin");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, 0, nullptr), nullptr);
    EXPECT_EQ(CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, "Local\\named"), nullptr);
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    ASSERT_NE(mapping, nullptr);
    // A file handle is no mapping and a mapping no file.
    EXPECT_EQ(MapViewOfFile(file, FILE_MAP_READ, 0, 0, 0), nullptr);
    EXPECT_EQ(CreateFileMappingA(mapping, nullptr, PAGE_READONLY, 0, 0, nullptr), nullptr);
    EXPECT_EQ(GetFileSize(mapping, nullptr), INVALID_FILE_SIZE);
    EXPECT_EQ(MapViewOfFile(mapping, 0x0002u /* FILE_MAP_WRITE */, 0, 0, 0), nullptr);
    EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_READ, 0, 4096, 0), nullptr);  // not on a granule
    EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_READ, 1, 0, 0), nullptr);     // past the end
    EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 4 * KX_ALLOCATION_GRANULARITY), nullptr);
    EXPECT_TRUE(CloseHandle(mapping));
    EXPECT_TRUE(CloseHandle(file));

    // Closed, null and foreign handles.
    EXPECT_FALSE(CloseHandle(file));
    EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0), nullptr);
    EXPECT_EQ(GetFileSize(file, nullptr), INVALID_FILE_SIZE);
    EXPECT_FALSE(CloseHandle(nullptr));
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
    int local = 0;
    EXPECT_FALSE(CloseHandle(&local));
    EXPECT_FALSE(UnmapViewOfFile(&local));
    EXPECT_FALSE(UnmapViewOfFile(nullptr));
}

}  // namespace

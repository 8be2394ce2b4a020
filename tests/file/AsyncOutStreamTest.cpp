// Writing through a second thread: the bytes, their order and failures
// come out as writing directly would give them.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "file/CKXAsyncOutStream.h"

namespace {

// Keeps what is written in memory; fails every write past a byte budget.
class MemoryStream : public IKXOutStream {
public:
    explicit MemoryStream(std::uint64_t budget = UINT64_MAX) : m_budget(budget) {}
    bool Write(const void* data, std::size_t n) override {
        if (m_failed || n > m_budget - m_bytes.size()) {
            m_failed = true;
            return false;
        }
        const auto* p = static_cast<const std::uint8_t*>(data);
        m_bytes.insert(m_bytes.end(), p, p + n);
        ++m_writes;
        return true;
    }
    std::uint64_t Size() const override { return m_bytes.size(); }
    bool Good() const override { return !m_failed; }
    bool Close() override { return !m_failed; }

    std::vector<std::uint8_t> m_bytes;
    int m_writes = 0;

private:
    std::uint64_t m_budget;
    bool m_failed = false;
};

std::vector<std::uint8_t> Pattern(std::size_t n, std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
    return bytes;
}

TEST(AsyncOutStream, WritesOfEverySizeArriveInOrder) {
    MemoryStream inner;
    std::vector<std::uint8_t> expected;
    {
        CKXAsyncOutStream out(inner);
        // Small writes, writes across chunk borders and writes of many chunks.
        const std::size_t sizes[] = {1, 2, 3, 1000, CKXAsyncOutStream::kChunkBytes - 1, 5,
                                     3 * CKXAsyncOutStream::kChunkBytes + 11, 0, 77};
        std::uint8_t seed = 0;
        for (const std::size_t n : sizes) {
            const std::vector<std::uint8_t> bytes = Pattern(n, seed++);
            ASSERT_TRUE(out.Write(bytes.data(), bytes.size()));
            expected.insert(expected.end(), bytes.begin(), bytes.end());
            ASSERT_EQ(out.Size(), expected.size());
        }
        EXPECT_TRUE(out.Close());
    }
    EXPECT_EQ(inner.m_bytes, expected);
}

TEST(AsyncOutStream, ClosingWritesEverythingAndKeepsTheStreamUnderneathOpen) {
    MemoryStream inner;
    CKXAsyncOutStream out(inner);
    const std::vector<std::uint8_t> bytes = Pattern(CKXAsyncOutStream::kChunkBytes * 2 + 3, 9);
    ASSERT_TRUE(out.Write(bytes.data(), bytes.size()));
    EXPECT_TRUE(out.Close());
    EXPECT_TRUE(out.Close());
    EXPECT_EQ(inner.m_bytes, bytes);
    EXPECT_FALSE(out.Good());
    EXPECT_FALSE(out.Write(bytes.data(), 1));
    EXPECT_TRUE(inner.Good());
}

TEST(AsyncOutStream, AFailureUnderneathIsReportedAndTheRestDropped) {
    MemoryStream inner(CKXAsyncOutStream::kChunkBytes + 10);
    CKXAsyncOutStream out(inner);
    const std::vector<std::uint8_t> bytes = Pattern(CKXAsyncOutStream::kChunkBytes, 1);
    bool failedEarly = false;
    for (int i = 0; i < 8 && !failedEarly; ++i) failedEarly = !out.Write(bytes.data(), bytes.size());
    EXPECT_FALSE(out.Close());
    EXPECT_EQ(inner.m_bytes.size(), CKXAsyncOutStream::kChunkBytes);
    EXPECT_LE(inner.m_writes, 1);
    const std::uint8_t mark = 1;
    EXPECT_FALSE(out.Write(&mark, 1));
}

TEST(AsyncOutStream, DestroyingWithoutClosingWritesEverything) {
    MemoryStream inner;
    const std::vector<std::uint8_t> bytes = Pattern(12345, 3);
    {
        CKXAsyncOutStream out(inner);
        ASSERT_TRUE(out.Write(bytes.data(), bytes.size()));
    }
    EXPECT_EQ(inner.m_bytes, bytes);
}

}  // namespace

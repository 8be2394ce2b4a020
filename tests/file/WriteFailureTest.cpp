// A failed write returns 0 and leaves nothing behind: no partial output,
// nothing in the temporary directory, an existing file it may not write
// untouched.
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "CKXLine.h"
#include "file/CKXDrawingFileWriter.h"
#include "file/CKXFileOutStream.h"
#include "FileTestSupport.h"

using namespace kxtest;

namespace {

// Passes writes through to a file until a byte budget is spent, then fails
// like a full disk.
class FailingStream : public IKXOutStream {
public:
    FailingStream(std::unique_ptr<IKXOutStream> inner, std::uint64_t budget)
        : m_inner(std::move(inner)), m_budget(budget) {}
    bool Write(const void* data, std::size_t n) override {
        if (m_failed || n > m_budget) {
            m_failed = true;
            return false;
        }
        m_budget -= n;
        return m_inner->Write(data, n);
    }
    std::uint64_t Size() const override { return m_inner->Size(); }
    bool Good() const override { return !m_failed && m_inner->Good(); }
    bool Close() override { return m_inner->Close() && !m_failed; }

private:
    std::unique_ptr<IKXOutStream> m_inner;
    std::uint64_t m_budget;
    bool m_failed = false;
};

// Opens output streams that fail after budget bytes.
KXStreamOpener FailingOpener(std::uint64_t budget) {
    return [=](const std::string& path) -> std::unique_ptr<IKXOutStream> {
        std::unique_ptr<IKXOutStream> stream = CKXFileOutStream::Open(path);
        if (!stream) return nullptr;
        return std::make_unique<FailingStream>(std::move(stream), budget);
    };
}

// A line whose record, once written, is shorter than its size query said:
// the pools laid out from the sizes no longer match the bytes.
class MismeasuredLine : public CKXLine {
public:
    MismeasuredLine() : CKXLine(CFltPoint{0, 0}, CFltPoint{1, 1}) {}
    int Write(std::uint8_t* buffer) const override {
        const int size = CKXLine::Write(buffer);
        return buffer != nullptr ? size - 2 : size;
    }
};

// An entity that has no record in a drawing file (like a polyline beyond
// the 16-bit point count).
class RecordlessLine : public CKXLine {
public:
    RecordlessLine() : CKXLine(CFltPoint{0, 0}, CFltPoint{1, 1}) {}
    int Write(std::uint8_t* /*buffer*/) const override { return 0; }
};

// An existing output that a write may not harm.
bool WriteOlderDrawing(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    std::fputs("older drawing", f);
    return std::fclose(f) == 0;
}

class WriteFailure : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 3000; ++i) m_doc.Line(i, 0, i + 1, 1);
        ASSERT_EQ(KXClose(m_doc.Handle(), 0), 1);
    }
    // Nothing but what the test put there remains in either directory.
    void ExpectNothingLeft(std::size_t outputsBefore = 0) {
        EXPECT_EQ(CountFiles(m_tmp.Path()), 0u) << "a temporary file was left behind";
        EXPECT_EQ(CountFiles(m_out.Path()), outputsBefore) << "a partial output was left behind";
    }

    ScopedTempDir m_tmp;
    ScopedTempDir m_out;
    ScopedTmpEnv m_env{m_tmp.Path()};
    Doc m_doc;
};

}  // namespace

TEST_F(WriteFailure, OutputInAMissingDirectory) {
    EXPECT_EQ(KXWrite(m_doc.Handle(), m_out.File("missing/plan.pdb").c_str()), 0);
    ExpectNothingLeft();
}

TEST_F(WriteFailure, ReadOnlyOutputIsLeftAlone) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    const std::string path = m_out.File("plan.pdb");
    ASSERT_TRUE(WriteOlderDrawing(path));
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(KXWrite(m_doc.Handle(), path.c_str()), 0);
    ExpectNothingLeft(1);
    const std::vector<std::uint8_t> kept = ReadAll(path);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "older drawing");
}

TEST_F(WriteFailure, DirectoryAsOutputIsLeftAlone) {
    const std::string path = m_out.File("plan.pdb");
    ASSERT_TRUE(std::filesystem::create_directory(path));
    EXPECT_EQ(KXWrite(m_doc.Handle(), path.c_str()), 0);
    ExpectNothingLeft(1);
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST_F(WriteFailure, FullDeviceAsOutput) {
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    EXPECT_EQ(KXWrite(m_doc.Handle(), "/dev/full"), 0);
    ExpectNothingLeft();
    // The reason names the file and carries the system's word for it.
    const KXStatus status = CKXDrawingFileWriter(m_doc.Get()).Write("/dev/full");
    EXPECT_EQ(status.Reason(), "writing /dev/full failed: " + std::string(std::strerror(ENOSPC)));
    struct stat info {};
    EXPECT_EQ(stat("/dev/full", &info), 0) << "the device must never be removed";
}

TEST_F(WriteFailure, OutputFailsPartWay) {
    // In the header, the tables, the entity pools and the tile map.
    for (std::uint64_t budget : {0ull, 50ull, 100ull, 1000ull, 20000ull, 40000ull, 60000ull}) {
        CKXDrawingFileWriter writer(m_doc.Get(), FailingOpener(budget));
        const KXStatus status = writer.Write(m_out.File("plan.pdb"));
        EXPECT_FALSE(status) << budget;
        EXPECT_EQ(status.Reason().rfind("writing " + m_out.Path(), 0), 0u) << status.Reason();
        ExpectNothingLeft();
    }
}

TEST_F(WriteFailure, EntityWritingAnotherSizeThanItMeasured) {
    const std::string path = m_out.File("plan.pdb");
    ASSERT_TRUE(WriteOlderDrawing(path));
    // In the second entity pool, after the first went out.
    m_doc.Get().GetEntList()[2500] = KXEntPtr(new MismeasuredLine());
    const KXStatus status = CKXDrawingFileWriter(m_doc.Get()).Write(path);
    EXPECT_EQ(status.Reason(), "the drawing's entity records could not be written");
    ExpectNothingLeft(1);
    const std::vector<std::uint8_t> kept = ReadAll(path);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "older drawing");
}

// Found while the file is laid out, before any file is made.
TEST_F(WriteFailure, EntityWithoutARecord) {
    m_doc.Get().GetEntList()[2000] = KXEntPtr(new RecordlessLine());
    const KXStatus status = CKXDrawingFileWriter(m_doc.Get()).Write(m_out.File("plan.pdb"));
    EXPECT_EQ(status.Reason(), "entity 2001 has no record in a drawing file");
    ExpectNothingLeft();
}

TEST_F(WriteFailure, OverwrittenOutputIsReplacedOnlyWhenComplete) {
    const std::string path = m_out.File("plan.pdb");
    ASSERT_TRUE(WriteOlderDrawing(path));
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    // A write that fails part way, at the start or on its last bytes, leaves
    // the old file byte for byte and no temporary file beside it.
    for (std::uint64_t budget : {0ull, 50ull, 40000ull}) {
        CKXDrawingFileWriter writer(m_doc.Get(), FailingOpener(budget));
        EXPECT_FALSE(writer.Write(path)) << budget;
        ExpectNothingLeft(1);
        const std::vector<std::uint8_t> kept = ReadAll(path);
        EXPECT_EQ(std::string(kept.begin(), kept.end()), "older drawing") << budget;
    }
    // A complete one replaces it and keeps its rights.
    EXPECT_EQ(KXWrite(m_doc.Handle(), path.c_str()), 1);
    ExpectNothingLeft(1);
    EXPECT_TRUE(CKXPdbValidator::ValidateFile(path).ok);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(WriteFailure, NewOutputHasTheUsualRights) {
    const mode_t mask = umask(022);
    const std::string path = m_out.File("plan.pdb");
    EXPECT_EQ(KXWrite(m_doc.Handle(), path.c_str()), 1);
    umask(mask);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
}

// The file is written beside its destination only: a temporary directory
// that cannot be written does not stop it.
TEST_F(WriteFailure, NoTemporaryDirectoryIsNeeded) {
    ScopedTmpEnv missing(m_tmp.File("does-not-exist"));
    const std::string path = m_out.File("plan.pdb");
    EXPECT_EQ(KXWrite(m_doc.Handle(), path.c_str()), 1);
    EXPECT_EQ(CountFiles(m_tmp.Path()), 0u);
    EXPECT_EQ(CountFiles(m_out.Path()), 1u);
    EXPECT_TRUE(CKXPdbValidator::ValidateFile(path).ok);
}

TEST_F(WriteFailure, SucceedsAfterFailuresAndCleansUp) {
    EXPECT_EQ(KXWrite(m_doc.Handle(), m_out.File("missing/plan.pdb").c_str()), 0);
    const std::string path = m_out.File("plan.pdb");
    EXPECT_EQ(KXWrite(m_doc.Handle(), path.c_str()), 1);
    EXPECT_EQ(CountFiles(m_tmp.Path()), 0u);
    const KXPdbResult result = CKXPdbValidator::ValidateFile(path);
    EXPECT_TRUE(result.ok) << result.error;
}

TEST(WriteRefusal, EmptyAndUnfinishedDocuments) {
    ScopedTempDir tmp;
    ScopedTempDir out;
    ScopedTmpEnv env(tmp.Path());
    Doc empty;
    ASSERT_EQ(KXClose(empty.Handle(), 0), 1);
    EXPECT_EQ(KXWrite(empty.Handle(), out.File("empty.pdb").c_str()), 0);
    EXPECT_EQ(CKXDrawingFileWriter(empty.Get()).Write(out.File("empty.pdb")).Reason(), "the drawing holds no entities");
    Doc unfinished;
    unfinished.Line(0, 0, 1, 1);
    EXPECT_EQ(KXWrite(unfinished.Handle(), out.File("unfinished.pdb").c_str()), 0);
    EXPECT_EQ(CKXDrawingFileWriter(unfinished.Get()).Write(out.File("unfinished.pdb")).Reason(),
              "the document is not finished");
    // Entities added after finishing were never placed or quantised.
    ASSERT_EQ(KXClose(unfinished.Handle(), 0), 1);
    unfinished.Line(5, 5, 6, 6);
    EXPECT_EQ(KXWrite(unfinished.Handle(), out.File("grown.pdb").c_str()), 0);
    EXPECT_EQ(CKXDrawingFileWriter(unfinished.Get()).Write(out.File("grown.pdb")).Reason(),
              "entities were added after the document was finished");
    EXPECT_EQ(KXWrite(nullptr, out.File("null.pdb").c_str()), 0);
    EXPECT_EQ(KXWrite(unfinished.Handle(), nullptr), 0);
    EXPECT_EQ(CountFiles(tmp.Path()), 0u);
    EXPECT_EQ(CountFiles(out.Path()), 0u);
}

// Helpers shared by the drawing file tests: private temporary directories
// (also used as the engine's temp directory, so stray temporary files show),
// documents built through the exports, and in-process validation.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <korvex/kxcore.h>

#include "CKXDoc.h"
#include "CKXPdbValidator.h"

namespace kxtest {

namespace fs = std::filesystem;

class ScopedTempDir {
public:
    ScopedTempDir() {
        std::string pattern = (fs::temp_directory_path() / "kxfile_XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        const char* made = mkdtemp(buffer.data());
        m_path = made ? made : "";
    }
    ~ScopedTempDir() {
        std::error_code error;
        if (!m_path.empty()) {
            fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, error);
            fs::remove_all(m_path, error);
        }
    }
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Points the engine's temporary directory (TMPDIR) at a directory of the
// test, so that a temporary file left behind can be found.
class ScopedTmpEnv {
public:
    explicit ScopedTmpEnv(const std::string& dir) {
        if (const char* old = std::getenv("TMPDIR")) {
            m_had = true;
            m_old = old;
        }
        setenv("TMPDIR", dir.c_str(), 1);
    }
    ~ScopedTmpEnv() {
        if (m_had) {
            setenv("TMPDIR", m_old.c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
    }
    ScopedTmpEnv(const ScopedTmpEnv&) = delete;
    ScopedTmpEnv& operator=(const ScopedTmpEnv&) = delete;

private:
    bool m_had = false;
    std::string m_old;
};

// A document handle deleted with the test.
class Doc {
public:
    Doc() : m_doc(KXCreateDocInstance()) {}
    ~Doc() { KXDeleteDocInstance(m_doc); }
    Doc(const Doc&) = delete;
    Doc& operator=(const Doc&) = delete;

    KXDOC Handle() const { return m_doc; }
    CKXDoc& Get() const { return *static_cast<CKXDoc*>(m_doc); }

    void Line(double x0, double y0, double x1, double y1) const {
        const double a[2] = {x0, y0};
        const double b[2] = {x1, y1};
        KXAddLine(m_doc, a, b, nullptr, nullptr);
    }
    void Polyline(const std::vector<KXPoint>& points) const {
        KXAddPolyline(m_doc, points.data(), static_cast<int>(points.size()), nullptr, nullptr);
    }

private:
    KXDOC m_doc;
};

inline std::size_t CountFiles(const std::string& dir) {
    std::size_t n = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(dir, error)) {
        (void)entry;
        ++n;
    }
    return n;
}

inline std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    std::vector<std::uint8_t> bytes;
    if (!f) return bytes;
    std::uint8_t buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    return bytes;
}

// Closes, writes and validates; a failed check is reported with the
// validator's message.
inline KXPdbResult CloseWriteValidate(const Doc& doc, const std::string& path) {
    EXPECT_EQ(KXClose(doc.Handle(), 0), 1);
    EXPECT_EQ(KXWrite(doc.Handle(), path.c_str()), 1);
    KXPdbResult result = CKXPdbValidator::ValidateFile(path);
    EXPECT_TRUE(result.ok) << result.error;
    return result;
}

inline std::vector<std::string> Labels(const KXPdbSummary& summary) {
    std::vector<std::string> labels;
    for (const auto& r : summary.records) labels.push_back(r.label);
    return labels;
}

}  // namespace kxtest

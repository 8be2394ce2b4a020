// KXRead: the extension table, explicit libraries, and the translator
// contract through a test plug-in that succeeds, fails or throws.
#include <gtest/gtest.h>

#include "file/CKXTranslatorLoader.h"
#include "FileTestSupport.h"

using namespace kxtest;

namespace {
const std::string kPlugin = std::string(KX_BIN_DIR) + "/libkxtest_translator.so";
}

TEST(TranslatorLoader, ExtensionTable) {
    EXPECT_EQ(CKXTranslatorLoader::LibraryFor("plan.dxf"), "dxfin");
    EXPECT_EQ(CKXTranslatorLoader::LibraryFor("PLAN.DXF"), "dxfin");
    EXPECT_EQ(CKXTranslatorLoader::LibraryFor("a.DwF"), "dwfin");
    EXPECT_EQ(CKXTranslatorLoader::LibraryFor(".dxf"), "");  // needs more than the extension
    EXPECT_EQ(CKXTranslatorLoader::LibraryFor("plan.dwg"), "");
    EXPECT_EQ(CKXTranslatorLoader::LibraryFor("dxf"), "");
}

TEST(TranslatorLoader, RejectionsChangeOnlyTheModule) {
    Doc doc;
    EXPECT_EQ(KXRead(doc.Handle(), ".dxf", nullptr), 0);
    EXPECT_EQ(KXRead(doc.Handle(), "plan.txt", nullptr), 0);
    EXPECT_EQ(KXRead(doc.Handle(), nullptr, nullptr), 0);
    EXPECT_EQ(KXRead(nullptr, "plan.dxf", nullptr), 0);
    EXPECT_EQ(KXRead(doc.Handle(), "plan.dxf", "/nonexistent/libnothing.so"), 0);
    EXPECT_EQ(doc.Get().GetModule(), nullptr);
    EXPECT_EQ(doc.Get().GetFileName(), "");
}

TEST(TranslatorLoader, ExplicitLibraryOverridesTheExtension) {
    Doc doc;
    EXPECT_EQ(KXRead(doc.Handle(), "drawing.unknown", kPlugin.c_str()), 7);
    EXPECT_NE(doc.Get().GetModule(), nullptr);
    EXPECT_EQ(doc.Get().GetFileName(), "drawing.unknown");
}

TEST(TranslatorLoader, LibraryWithoutEntryKeepsItsModule) {
    Doc doc;
    const std::string noEntry = std::string(KX_BIN_DIR) + "/libkxplatform.so";
    EXPECT_EQ(KXRead(doc.Handle(), "plan.dxf", noEntry.c_str()), 0);
    EXPECT_NE(doc.Get().GetModule(), nullptr);
    EXPECT_EQ(doc.Get().GetFileName(), "");
}

TEST(TranslatorLoader, FailingTranslatorsLeaveAWritableDocument) {
    ScopedTempDir dir;
    for (const char* path : {"throw.dxf", "zero.dxf"}) {
        Doc doc;
        doc.Line(0, 0, 10, 10);  // what was read before the failure
        EXPECT_EQ(KXRead(doc.Handle(), path, kPlugin.c_str()), 0) << path;
        EXPECT_EQ(doc.Get().GetFileName(), path);
        const KXPdbResult result = CloseWriteValidate(doc, dir.File(std::string(path) + ".pdb"));
        EXPECT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.summary.entities.size(), 1u);
    }
}

// Binding by ordinal through the engine's ordinal table, and by name.
#include <kxplatform/dynlib.h>

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

// Export names in ordinal order: kExportNames[n - 1] has ordinal n.
const std::array<const char*, 83> kExportNames = {{
    "KXCreateDocInstance",
    "KXRead",
    "KXClose",
    "KXGetInfo",
    "KXDraw",
    "KXWrite",
    "KXDeleteDocInstance",
    "KXAddLine",
    "KXAddPolyline",
    "KXAddCircle",
    "KXAddEllipse",
    "KXAddArc",
    "KXAddEllipticArc",
    "KXAddRegion",
    "KXClipRgnCreate",
    "KXClipRgnAdd",
    "KXClipRgnAddCircle",
    "KXClipRgnSet",
    "KXStartBlock",
    "KXEndBlock",
    "KXInsertBlock",
    "KXInsertBlockStr",
    "KXAddText",
    "KXHatchCreate",
    "KXHatchCreatePattern",
    "KXHatchAddPattern",
    "KXHatchSetClipRgn",
    "KXAttribColor",
    "KXAttribLineStyle",
    "KXAttribLayer",
    "KXAttribSet",
    "KXAttribGet",
    "KXCreatePath",
    "KXPathAddPolyline",
    "KXPathAddCircleArc",
    "KXPathAddEllipticArc",
    "KXPathAddSpline",
    "KXClipRgnAddPath",
    "KXAddSpline",
    "KXCreateView",
    "KXViewShow",
    "KXViewSetDoc",
    "KXViewSetDocDelete",
    "KXViewDelete",
    "KXViewCreateTool",
    "KXViewZoom",
    "KXViewZoomAll",
    "KXViewBkwZoom",
    "KXViewFrwZoom",
    "KXViewBkwZoomAvailable",
    "KXViewFrwZoomAvailable",
    "KXViewBmkSet",
    "KXViewBmkGetSize",
    "KXViewBmkGetMaxSize",
    "KXViewBmkGoNext",
    "KXViewBmkNextAvailable",
    "KXViewBmkGoPrev",
    "KXViewBmkPrevAvailable",
    "KXViewBmkGetName",
    "KXViewBmkGoto",
    "KXViewBmkGetCurrent",
    "KXViewBmkRemove",
    "KXAddLayout",
    "KXGetCurrentLayout",
    "KXSetCurrentLayout",
    "KXGetNumLayouts",
    "KXGetLayout",
    "KXGetNumLayers",
    "KXGetLayer",
    "KXSetLayer",
    "KXViewRefresh",
    "KXGetLayerInitial",
    "KXSetDisplayMode",
    "KXGetDisplayMode",
    "KXSetFgColor",
    "KXSetBgColor",
    "KXViewDrawDC",
    "KXAddProperty",
    "KXGetProperties",
    "KXGetNumProperties",
    "KXViewBmkRename",
    "KXPushCoordSys3D",
    "KXPopCoordSys3D",
}};

class DynLibTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine_ = LoadLibraryA("kxcore");
        ASSERT_NE(engine_, nullptr) << "libkxcore.so beside the test program";
    }
    HMODULE engine_ = nullptr;
};

TEST_F(DynLibTest, OrdinalsSixtyFiveAndSixtySixBindTheLayoutCalls) {
    const FARPROC setCurrentLayout = GetProcAddress(engine_, MAKEINTRESOURCE(65));
    const FARPROC getNumLayouts = GetProcAddress(engine_, MAKEINTRESOURCE(66));
    ASSERT_NE(setCurrentLayout, nullptr);
    ASSERT_NE(getNumLayouts, nullptr);
    EXPECT_EQ(setCurrentLayout, GetProcAddress(engine_, "KXSetCurrentLayout"));
    EXPECT_EQ(getNumLayouts, GetProcAddress(engine_, "KXGetNumLayouts"));
}

TEST_F(DynLibTest, EveryOrdinalBindsTheExportOfTheSameName) {
    for (size_t i = 0; i < kExportNames.size(); ++i) {
        const int ordinal = static_cast<int>(i + 1);
        const FARPROC byName = GetProcAddress(engine_, kExportNames[i]);
        ASSERT_NE(byName, nullptr) << kExportNames[i];
        EXPECT_EQ(GetProcAddress(engine_, MAKEINTRESOURCE(ordinal)), byName)
            << "ordinal " << ordinal << " " << kExportNames[i];
    }
}

TEST_F(DynLibTest, OrdinalsOutsideTheTableAreMissing) {
    EXPECT_EQ(GetProcAddress(engine_, MAKEINTRESOURCE(0)), nullptr);
    EXPECT_EQ(GetProcAddress(engine_, MAKEINTRESOURCE(84)), nullptr);
    EXPECT_EQ(GetProcAddress(engine_, MAKEINTRESOURCE(0xFFFF)), nullptr);
}

TEST_F(DynLibTest, MissingSymbolIsNullNotACrash) {
    EXPECT_EQ(GetProcAddress(engine_, "KXNoSuchExport"), nullptr);
    EXPECT_EQ(GetProcAddress(engine_, ""), nullptr);
    EXPECT_EQ(GetProcAddress(engine_, nullptr), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "KXRead"), nullptr);
}

// A module exports only what it defines: the platform functions the engine
// imports are not the engine's.
TEST_F(DynLibTest, ImportedSymbolsAreNotExportsOfTheImporter) {
    EXPECT_EQ(GetProcAddress(engine_, "LoadLibraryA"), nullptr);
    const HMODULE platform = LoadLibraryA("kxplatform");
    ASSERT_NE(platform, nullptr);
    EXPECT_NE(GetProcAddress(platform, "LoadLibraryA"), nullptr);
    // The platform has no ordinal table of its own.
    EXPECT_EQ(GetProcAddress(platform, MAKEINTRESOURCE(1)), nullptr);
}

TEST_F(DynLibTest, LoadingTwiceGivesTheSameModule) {
    EXPECT_EQ(LoadLibraryA("kxcore"), engine_);
    EXPECT_EQ(LoadLibraryA("libkxcore.so"), engine_);
    EXPECT_EQ(LoadLibraryA(KX_BIN_DIR "/libkxcore.so"), engine_);
    EXPECT_EQ(LoadLibraryA(KX_BIN_DIR "/kxcore"), engine_);
}

TEST(DynLib, MissingLibraryIsNull) {
    EXPECT_EQ(LoadLibraryA("kx_no_such_library"), nullptr);
    EXPECT_EQ(LoadLibraryA("/nonexistent/dir/libkxcore.so"), nullptr);
    EXPECT_EQ(LoadLibraryA(""), nullptr);
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
    EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST(DynLib, ModuleFileNames) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    ASSERT_GT(length, 0u);
    const std::string program(path, length);
    EXPECT_EQ(program.substr(program.rfind('/') + 1), "kx_platform_tests");

    const HMODULE engine = LoadLibraryA("kxcore");
    ASSERT_NE(engine, nullptr);
    ASSERT_GT(GetModuleFileNameA(engine, path, sizeof path), 0u);
    const std::string library(path);
    EXPECT_EQ(library.substr(library.rfind('/') + 1), "libkxcore.so");

    char small[5];
    EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), sizeof small);
    EXPECT_EQ(std::string(small), program.substr(0, 4));
    EXPECT_EQ(GetModuleFileNameA(nullptr, nullptr, 0), 0u);
}

}  // namespace

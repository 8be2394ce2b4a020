// korvex.ini: creation with every key, reading, unreadable values,
// destination directory.
#include "ConverterSettings.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ConverterSettings, SavedFileHoldsEveryKeyInTableOrder) {
    ScratchDir dir;
    ConverterSettings settings(dir.path().string());
    EXPECT_FALSE(settings.FileExists());
    EXPECT_EQ(settings.settingsPath(), dir / "korvex.ini");
    settings.PrepareDestination();
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(dir.Read("korvex.ini"),
              "[DISPLAY]\n"
              "Monochrome=0\n"
              "bkColor=0\n"
              "fgColor=16777215\n"
              "LineStyle=1\n"
              "LineWeight=0\n"
              "Text=1\n"
              "FgColorDefaultBlack=0\n"
              "iniTool=2\n"
              "\n"
              "[CONVERSION]\n"
              "ConversionDirectory=" + (dir / "cnvrt/") + "\n"
              "CnvCurrentAllPages=0\n"
              "CnvCurrentUniqueName=0\n"
              "CnvBatchAllPages=1\n"
              "CnvBatchUniqueName=1\n"
              "\n"
              "[APPLICATION]\n"
              "WinX=0\n"
              "WinY=0\n"
              "WinSizeX=0\n"
              "WinSizeY=0\n");
    EXPECT_TRUE(settings.FileExists());
}

TEST(ConverterSettings, LoadReadsKeysIgnoringCase) {
    ScratchDir dir;
    dir.Write("korvex.ini",
              "[conversion]\n"
              "conversiondirectory=/srv/out\n"
              "CNVBATCHALLPAGES=0\n"
              "CnvBatchUniqueName=7\n"
              "[Display]\n"
              "fgColor=0x00FF00\n");
    ConverterSettings settings(dir.path().string() + "/");
    settings.Load();
    EXPECT_EQ(settings.destinationDirectory(), "/srv/out");
    EXPECT_FALSE(settings.allPages());
    EXPECT_TRUE(settings.uniqueNames()) << "any non-zero value is true";
    EXPECT_EQ(settings.fgColor, 0x00FF00);
    EXPECT_EQ(settings.iniTool, 2) << "missing keys keep their defaults";
}

TEST(ConverterSettings, GarbageValuesKeepTheirDefaults) {
    ScratchDir dir;
    dir.Write("korvex.ini",
              "[CONVERSION]\n"
              "CnvBatchUniqueName=yes please\n"
              "CnvBatchAllPages=\n"
              "ConversionDirectory=\n"
              "[DISPLAY]\n"
              "iniTool=12abc\n"
              "bkColor=\xff\xfe\n");
    ConverterSettings settings(dir.path().string());
    settings.Load();
    EXPECT_TRUE(settings.uniqueNames()) << "unreadable: still never overwrites";
    EXPECT_TRUE(settings.allPages());
    EXPECT_EQ(settings.iniTool, 12) << "leading digits read as the platform reads them";
    EXPECT_EQ(settings.bkColor, 0);
    settings.PrepareDestination();
    EXPECT_EQ(settings.destinationDirectory(), dir / "cnvrt/") << "empty keeps the default";
}

TEST(ConverterSettings, DestinationIsCreatedOneLevelDeepOnly) {
    ScratchDir dir;
    ConverterSettings settings(dir.path().string());
    char before[4096];
    ASSERT_NE(getcwd(before, sizeof before), nullptr);

    settings.PrepareDestination();
    EXPECT_TRUE(std::filesystem::is_directory(dir / "cnvrt"));

    settings.conversionDirectory = dir / "deep/er/";
    settings.PrepareDestination();
    EXPECT_FALSE(std::filesystem::exists(dir / "deep"));

    char after[4096];
    ASSERT_NE(getcwd(after, sizeof after), nullptr);
    EXPECT_EQ(std::string(after), std::string(before)) << "working directory restored";
}

}  // namespace

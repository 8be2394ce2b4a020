// Number conversion, dates, palette and lineweights.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cmath>
#include <cstdlib>
#include <string>

#include <korvex/kxtypes.h>

#include "support/ScratchDir.h"
#include "clsLogs.h"
#include "clssTABLES.h"
#include "utlACItoRGB.h"
#include "utlDates.h"
#include "utlNumbers.h"

namespace kxdxf {
namespace {

TEST(Numbers, RealsMatchTheCLibrary)
{
    for (const char* text : {"1.5", "  -2.25e3xyz", "+.5", "abc", "", "1e400", "-1e-400", "0x1p3",
                             "inf", "-Infinity", "12abc", " \t7", "1.", "-", "1e", "1e+", ".",
                             "3.14159265358979323846", "-0", "2451544.91568287", "\n 1.25E-3"}) {
        const double expected = std::atof(text);
        const double actual = utlAtof(text);
        EXPECT_EQ(std::signbit(expected), std::signbit(actual)) << text;
        EXPECT_EQ(expected, actual) << text;
    }
    EXPECT_TRUE(std::isnan(utlAtof("nan")));
}

TEST(Numbers, IntegersMatchTheCLibrary)
{
    for (const char* text : {"0", "42", " +42x", "-17", "2147483647", "2147483648", "-2147483649",
                             "99999999999999999999", "-99999999999999999999", "9223372036854775807",
                             "-9223372036854775808", "abc", "", "-", "  \t-5", "1.9", "256"}) {
        EXPECT_EQ(std::atol(text), utlAtol(text)) << text;
        EXPECT_EQ(std::atoi(text), utlAtoi(text)) << text;
    }
}

struct DateCase {
    int (*convert)(const std::string&, std::string&);
    const char* value;
    const char* text;
};

TEST(Dates, JulianDaysAndDurationsBecomeTexts)
{
    const DateCase cases[] = {
        {utlJulianToText, "2451544.91568287", "12/31/1999 21:58:34"},
        {utlJulianToText, "2454091.895015729", "12/21/2006 21:28:49"},
        {utlDaysToText, "0.5", "12 hours, 00 minutes, and 00 seconds"},
        {utlDaysToText, "2.25", "2 days, 06 hours, 00 minutes, and 00 seconds"},
    };
    for (const DateCase& c : cases) {
        std::string out;
        ASSERT_EQ(1, c.convert(c.value, out)) << c.value;
        EXPECT_EQ(c.text, out) << c.value;
    }
}

TEST(Dates, ZeroNonNumbersAndAbsurdValuesGiveNoText)
{
    std::string out = "unchanged";
    for (const char* value : {"0", "not a date", "1e300", "nan"})
        EXPECT_EQ(0, utlJulianToText(value, out)) << value;
    for (const char* value : {"0", "inf"})
        EXPECT_EQ(0, utlDaysToText(value, out)) << value;
    EXPECT_EQ("unchanged", out);
    ASSERT_EQ(1, utlDaysToText("1e300", out));  // huge but finite: no overflow
}

TEST(Palette, FixedAndComputedEntries)
{
    EXPECT_EQ(0x0000FFu, utlACItoRGB(1));
    EXPECT_EQ(0x000000u, utlACItoRGB(7));
    EXPECT_EQ(0x0000FFu, utlACItoRGB(10));
    EXPECT_EQ(0x0000CCu, utlACItoRGB(12));
    EXPECT_EQ(0x003FFFu, utlACItoRGB(20));
    EXPECT_EQ(0x00FFFFu, utlACItoRGB(50));
    EXPECT_EQ(0xFFFF00u, utlACItoRGB(130));
    EXPECT_EQ(0x333333u, utlACItoRGB(250));
    EXPECT_EQ(0xFFFFFFu, utlACItoRGB(255));
    // Odd indices are the pale shades of their group.
    EXPECT_EQ(0x7F7FFFu, utlACItoRGB(11));
}

TEST(Lineweights, ConvertToPixelsWithSpecialValues)
{
    EXPECT_EQ(KX_BYLAYER, utlLineweightToWidth(-1));
    EXPECT_EQ(KX_BYBLOCK, utlLineweightToWidth(-2));
    EXPECT_EQ(1, utlLineweightToWidth(0));
    EXPECT_EQ(2, utlLineweightToWidth(-3));
    EXPECT_EQ(4, utlLineweightToWidth(25));
    EXPECT_EQ(8, utlLineweightToWidth(50));
    EXPECT_EQ(16, utlLineweightToWidth(100));
    EXPECT_EQ(34, utlLineweightToWidth(211));
    EXPECT_EQ(INT_MAX, utlLineweightToWidth(LONG_MAX));
}

}  // namespace
}  // namespace kxdxf

namespace kxdxf {
namespace {

TEST(Logs, LinesOfEveryLengthEndTheTraceLogAsWritten)
{
    ScratchDir dir;
    const std::string directory = dir.path().string() + "/";
    const std::string longLine(5000, 'x');
    {
        clsLogs logs;
        logs.open(directory);
        logs.logLine("");
        logs.logLine("<rdDrEntLINE>:\t\tentered");
        logs.logLine(std::string(127, 'a'));
        logs.logLine(std::string(128, 'b'));
        logs.logLine(longLine);
        logs.logMsg("count %d", 3);
    }
    EXPECT_EQ(dir.Read("TranslatorRead.log"),
              "Translator Read Log File\n\n<rdDrEntLINE>:\t\tentered\n" + std::string(127, 'a') + "\n" +
                  std::string(128, 'b') + "\n" + longLine + "\ncount 3\n");
}

// A log held by another conversion (or owned by another user) is neither
// truncated nor mixed with ours: both logs move to a private directory.
TEST(Logs, LogsInUseMoveToAPrivateDirectory)
{
    ScratchDir dir;
    dir.Write("TranslatorRead.log", "another conversion's trace\n");
    const std::string directory = dir.path().string() + "/";
    const int held = ::open((dir / "TranslatorRead.log").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    std::string used;
    {
        clsLogs logs;
        logs.open(directory);
        logs.logLine("ours");
        used = logs.directory();
    }
    ::close(held);
    EXPECT_EQ(dir.Read("TranslatorRead.log"), "another conversion's trace\n");
    ASSERT_NE(used, directory);
    EXPECT_EQ(used.rfind(directory + "korvex-", 0), 0u) << used;
    struct stat info {};
    ASSERT_EQ(::stat(used.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    std::ifstream log(used + "TranslatorRead.log");
    const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "Translator Read Log File\nours\n");
    std::filesystem::remove_all(used);

    // Free again: the logs are back where they were asked for.
    clsLogs logs;
    logs.open(directory);
    EXPECT_EQ(logs.directory(), directory);
}

}  // namespace
}  // namespace kxdxf

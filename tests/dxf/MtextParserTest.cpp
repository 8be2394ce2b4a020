// The MTEXT code parser and the text encodings, on strings.
#include <gtest/gtest.h>

#include <string>

#include "clsMTEXT.h"
#include "utlTextCodes.h"

namespace kxdxf::test {
namespace {

using Runs = std::vector<STxt>;

std::string texts(const Runs& runs)
{
    std::string out;
    for (const STxt& run : runs)
        out += (out.empty() ? "" : "|") + std::string(run.newLine ? "^" : "") + run.text;
    return out;
}

TEST(MtextParser, SpecialCodesBecomeTheSignsFontCodes)
{
    EXPECT_EQ("\x01" "25", texts(utlParseMTEXT("%%c25")));
    EXPECT_EQ("\x01\x02\xB1" "x", texts(utlParseMTEXT("%%C%%D%%Px")));
    EXPECT_EQ("\x01\x02\xB1", texts(utlParseMTEXT("\xF8\xB0\xB1")));
    EXPECT_EQ("\x01\x02\xB1", texts(utlParseMTEXT("\\U+2205\\U+00B0\\U+00B1")));
    EXPECT_EQ("a\\{}", texts(utlParseMTEXT("a\\\\\\{\\}")));
    // Underline and overline switches are dropped, "%%%" is a percent sign.
    EXPECT_EQ("BEDROOM 50%", texts(utlParseMTEXT("%%uBEDROOM%%U 50%%%")));
    EXPECT_EQ("%%", texts(utlParseMTEXT("%%")));
}

TEST(MtextParser, FontFamilyInBracesThenANewLine)
{
    const Runs runs = utlParseMTEXT("{\\fArial|b0|i0;AB}\\PCD");
    ASSERT_EQ("AB|^CD", texts(runs));
    EXPECT_DOUBLE_EQ(0.95, runs[0].widthFactor);
    EXPECT_EQ("\\fArial|b0|i0", runs[0].fontFamilyCode);
    EXPECT_DOUBLE_EQ(1.33, runs[1].widthFactor);
    EXPECT_EQ("", runs[1].fontFamilyCode);
}

TEST(MtextParser, HeightCodesSetTheRunsFactorAndTheLinesTallest)
{
    Runs runs = utlParseMTEXT("\\H2x;A");
    ASSERT_EQ(1u, runs.size());
    EXPECT_DOUBLE_EQ(2.0, runs[0].heightFactor);
    EXPECT_EQ("\\H2x", runs[0].heightCode);

    // Inside braces the code is relative to the run's factor.
    runs = utlParseMTEXT("\\H2;{\\H0.5x;A}");
    ASSERT_EQ(1u, runs.size());
    EXPECT_DOUBLE_EQ(1.0, runs[0].heightFactor);
    EXPECT_DOUBLE_EQ(0.5, runs[0].heightValue);

    // Formatting carries over to the next run; braces start afresh.
    runs = utlParseMTEXT("\\H3x;A\\H1x;B\\PC{D}");
    ASSERT_EQ("A|B|^C|D", texts(runs));
    EXPECT_DOUBLE_EQ(3.0, runs[1].lineHeightFactor);
    EXPECT_DOUBLE_EQ(1.0, runs[1].heightFactor);
    EXPECT_DOUBLE_EQ(1.0, runs[2].lineHeightFactor);
    EXPECT_DOUBLE_EQ(1.0, runs[3].heightFactor);
}

TEST(MtextParser, FontWidthTables)
{
    EXPECT_DOUBLE_EQ(1.18, utlParseMTEXT("\\Fromans.shx;A")[0].widthFactor);
    EXPECT_DOUBLE_EQ(0.91, utlParseMTEXT("\\Funknown.shx;A")[0].widthFactor);
    EXPECT_DOUBLE_EQ(0.95, utlParseMTEXT("\\FARIAL.TTF;A")[0].widthFactor);
    EXPECT_DOUBLE_EQ(0.95, utlParseMTEXT("\\FOTHER.TTF;A")[0].widthFactor);
    EXPECT_DOUBLE_EQ(0.68, utlParseMTEXT("\\fNo Such Font|b0;A")[0].widthFactor);
    // Names compare with their case.
    EXPECT_DOUBLE_EQ(0.91, clsMTEXT::shapeFileWidth("ROMANS.SHX"));
    EXPECT_DOUBLE_EQ(0.68, clsMTEXT::fontFamilyWidth("MINIMUM_FONT_WIDTH"));
    EXPECT_DOUBLE_EQ(1.77, clsMTEXT::fontFamilyWidth("Vineta BT"));
}

TEST(MtextParser, DigitsOnlyRunsAreDrawnNarrower)
{
    const clsMTEXT digits("\\A1;12.50 %%d");
    EXPECT_DOUBLE_EQ(1.33 * 0.79, digits.widthFactor(0));
    EXPECT_DOUBLE_EQ(1.33, digits.widthFactor(1));  // no such run
    const clsMTEXT mixed("12 mm");
    EXPECT_DOUBLE_EQ(1.33, mixed.widthFactor(0));
}

TEST(MtextParser, CodesWithoutArgumentDoNotSwallowTheText)
{
    EXPECT_EQ("A|B|C", texts(utlParseMTEXT("A\\OB\\o\\H2x;C")));
    EXPECT_EQ("3 |1/2\"", texts(utlParseMTEXT("3 \\S1/2;\"")));
    EXPECT_EQ("a b", texts(utlParseMTEXT("a\\~b")));
    // Other codes run to their ";", or are two characters without one.
    EXPECT_EQ("x|y", texts(utlParseMTEXT("\\pxqc;x\\A1;y")));
    EXPECT_EQ("bc", texts(utlParseMTEXT("\\Qbc")));
}

TEST(MtextParser, InputIsCutAndBadCodesEndSafely)
{
    EXPECT_EQ(clsMTEXT::kMaxInput, texts(utlParseMTEXT(std::string(5000, 'x'))).size());
    for (const char* text : {"AB\\H", "AB\\H;", "AB\\Hnan;C", "\\H-3;C", "{AB", "AB}", "\\", "A\\fArial",
                             "\\F", "%%", "\\U+00", "\\P}"}) {
        const Runs runs = utlParseMTEXT(text);
        for (const STxt& run : runs) {
            EXPECT_GT(run.heightFactor, 0.0) << text;
            EXPECT_FALSE(run.text.empty()) << text;
        }
    }
    EXPECT_DOUBLE_EQ(1.0, utlParseMTEXT("AB\\Hnan;C").at(1).heightFactor);
    // Nesting is not followed: braces only switch a flag.
    EXPECT_EQ("A", texts(utlParseMTEXT(std::string(500, '{') + "A" + std::string(500, '}'))));
    EXPECT_TRUE(utlParseMTEXT(std::string(5000, '{') + "A" + std::string(5000, '}')).empty());
}

TEST(TextCodes, VersionsFromAC1021ReadUtf8)
{
    EXPECT_EQ(TextEncoding::CodePage, utlTextEncodingOf("AC1018"));
    EXPECT_EQ(TextEncoding::Utf8, utlTextEncodingOf("AC1021"));
    EXPECT_EQ(TextEncoding::Utf8, utlTextEncodingOf("AC1032"));
    EXPECT_EQ(TextEncoding::CodePage, utlTextEncodingOf(""));
    EXPECT_EQ(TextEncoding::CodePage, utlTextEncodingOf("AC10x1"));
}

TEST(TextCodes, Utf8TextMapsOntoTheFontCodes)
{
    const auto utf8 = TextEncoding::Utf8;
    // Latin-1 to its byte, the three signs to theirs, the rest to "?".
    EXPECT_EQ("\xC9t\xE9 \xD8" "25 \x02" " \xB1" "1 \x01 ?", texts(utlParseMTEXT(
                                                         "\xC3\x89t\xC3\xA9 \xC3\x98" "25 \xC2\xB0 \xC2\xB1" "1 "
                                                         "\xE2\x88\x85 \xE2\x82\xAC",
                                                         utf8)));
    // A malformed sequence is read byte by byte as Latin-1.
    EXPECT_EQ("caf\xE9", texts(utlParseMTEXT("caf\xE9", utf8)));
    EXPECT_EQ("\x01", texts(utlParseMTEXT("\xF8", utf8)));
    EXPECT_EQ("?", texts(utlParseMTEXT("\\U+4E2D", utf8)));
    EXPECT_EQ("\xE2", texts(utlParseMTEXT("\xE2\x82", utf8)).substr(0, 1));
}

TEST(TextCodes, CodePageFilesDecodeEscapedLetters)
{
    EXPECT_EQ("\xE9t\xE9", texts(utlParseMTEXT("\\U+00E9t\\U+00e9")));
    // Other characters become "?" without swallowing the text up to a ";".
    EXPECT_EQ("a?b|c", texts(utlParseMTEXT("a\\U+4E2Db\\H2x;c")));
    // Attribute text: only the encoding is decoded.
    EXPECT_EQ("%%c\xE9\\U+4E2D", utlDecodeText("%%c\\U+00E9\\U+4E2D", TextEncoding::CodePage));
    EXPECT_EQ("%%c\xE9?", utlDecodeText("%%c\xC3\xA9\xE4\xB8\xAD", TextEncoding::Utf8));
}

}  // namespace
}  // namespace kxdxf::test

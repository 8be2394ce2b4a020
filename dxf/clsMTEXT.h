// The MTEXT formatting-code parser, used for TEXT values too: splits a text
// into runs of equal formatting and replaces the special codes by the font
// codes of their signs.
#ifndef KXDXF_CLSMTEXT_H
#define KXDXF_CLSMTEXT_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "utlTextCodes.h"

namespace kxdxf {

class clsLogs;

// One run of text with one formatting.
struct STxt {
    std::string text;            // after code replacement
    std::string fontFamilyCode;  // "\f" code as written, up to its ";"
    std::string fontFileCode;    // "\F" code as written, up to its ";"
    std::string heightCode;      // "\H" code as written, up to its ";"
    double widthFactor = kDefaultWidthFactor;
    double heightValue = 1.0;       // the number of the last height code
    double heightFactor = 1.0;      // relative to the entity's height
    double lineHeightFactor = 1.0;  // the largest height factor of the run's line
    int underline = 0;
    int newLine = 0;     // 1: the run starts a new line
    int digitsOnly = 1;  // 1 while the run holds digits, blanks, points and signs only

    static constexpr double kDefaultWidthFactor = 1.33;

    int length() const { return static_cast<int>(text.size()); }
};

class clsMTEXT {
public:
    // The longest input parsed; the rest is dropped.
    static constexpr std::size_t kMaxInput = 1023;
    // The longest run kept.
    static constexpr std::size_t kMaxRun = 1027;

    // Parses the text; logs (when given) receive the trace of setMaxHeight.
    explicit clsMTEXT(std::string_view text, TextEncoding encoding = TextEncoding::CodePage,
                      clsLogs* logs = nullptr);

    const std::vector<STxt>& runs() const { return runs_; }
    // The text of the run, or empty.
    std::string_view runText(std::size_t run) const;
    // Width factor MTEXT draws a run with: digits are drawn narrower.
    double widthFactor(std::size_t run) const;

    // Width factor of a font family ("\f"), of a shape font file and of a
    // TrueType font file ("\F"); a name not in the table gets its smallest.
    static double fontFamilyWidth(std::string_view name);
    static double shapeFileWidth(std::string_view name);
    static double trueTypeFileWidth(std::string_view name);

private:
    void parse();
    void parseCode();
    void parseFontFamily();
    void parseFontFile();
    void parseHeight();
    void parseParagraph();
    void parseStack();
    void skipCode();
    void parsePercent();
    void addChar(unsigned char c);
    // Adds the character at text[pos] (a UTF-8 sequence in UTF-8 files);
    // the number of bytes it took.
    std::size_t addCharAt(std::string_view text, std::size_t pos);
    void addInputChar();
    void finishRun();
    void startBrace(bool open);
    // The code's argument from the read position up to its ";" (or the end);
    // the read position moves past the ";".
    std::string_view argument();
    void setMaxHeight(clsLogs* logs);

    std::string_view input_;
    TextEncoding encoding_;
    std::size_t pos_ = 0;
    STxt run_;
    std::vector<STxt> runs_;
    bool braces_ = false;
};

// The runs of a text (fuzzing and tests).
std::vector<STxt> utlParseMTEXT(std::string_view text, TextEncoding encoding = TextEncoding::CodePage);

}  // namespace kxdxf

#endif

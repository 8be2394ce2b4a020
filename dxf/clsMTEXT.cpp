#include "clsMTEXT.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "clsLogs.h"
#include "utlNumbers.h"

namespace kxdxf {
namespace {

// Digits are drawn narrower than the font's letters.
constexpr double kDigitsWidthScale = 0.79;

// The input bytes the parser turns into the signs' font codes.
constexpr unsigned char kDiameterByte = 0xF8;
constexpr unsigned char kDegreeByte = 0xB0;
constexpr unsigned char kPlusMinusByte = 0xB1;

struct FontWidth {
    std::string_view name;
    double width;
};

// Width of a font's characters relative to their height.
constexpr FontWidth kFontFamilies[] = {
    {"Arial", 0.95},
    {"Arial Black", 1.16},
    {"Arial Narrow", 0.76},
    {"BankGothic Lt BT", 1.62},
    {"BankGothic Md BT", 1.68},
    {"Book Antiqua", 0.99},
    {"Bookman Old Style", 1.08},
    {"Century Gothic", 1.01},
    {"CityBlueprint", 0.68},
    {"Comic Sans MS", 1.00},
    {"CommercialScript BT", 0.92},
    {"CountryBlueprint", 0.77},
    {"Courier New", 1.55},
    {"ISOCT", 1.51},
    {"ISOCT2", 1.50},
    {"ISOCT3", 1.50},
    {"ISOCTEUR", 1.51},
    {"Lucida Console", 1.37},
    {"Lucida Sans Unicode", 1.00},
    {"Microsoft Sans Serif", 0.92},
    {"Monospac821 BT", 1.18},
    {"Monotype Corsiva", 1.18},
    {"Palatino Linotype", 0.99},
    {"PanRoman", 0.92},
    {"Romantic", 0.93},
    {"SansSerif", 0.92},
    {"Stylus BT", 1.01},
    {"SuperFrench", 0.92},
    {"Swis721 BdCnOul BT", 0.79},
    {"Swis721 BdOul BT", 0.99},
    {"Swis721 Blk BT", 1.13},
    {"Swis721 BlkCn BT", 0.82},
    {"Swis721 BlkEx BT", 1.45},
    {"Swis721 BlkOul BT", 1.13},
    {"Swis721 BT", 0.92},
    {"Swis721 Cn BT", 0.75},
    {"Swis721 Ex BT", 1.10},
    {"Swis721 Lt BT", 0.87},
    {"Swis721 LtCn BT", 0.70},
    {"Swis721 LtEx BT", 1.05},
    {"Tahoma", 0.92},
    {"Technic", 1.05},
    {"TechnicBold", 1.05},
    {"TechnicLite", 1.05},
    {"Times New Roman", 0.97},
    {"Times New Roman Baltic", 0.92},
    {"Trebuchet MS", 0.94},
    {"Verdana", 1.06},
    {"Vineta BT", 1.77},
};

constexpr FontWidth kShapeFiles[] = {
    {"complex.shx", 1.28}, {"gothice.shx", 1.18}, {"gothicg.shx", 1.18}, {"gothici.shx", 1.13},
    {"isocp.shx", 0.91},   {"italic.shx", 1.36},  {"italicc.shx", 1.31}, {"italict.shx", 1.36},
    {"gdt.shx", 1.18},     {"monotxt.shx", 1.41}, {"romanc.shx", 1.28},  {"romand.shx", 1.18},
    {"romans.shx", 1.18},  {"romant.shx", 1.31},  {"scriptc.shx", 1.04}, {"scripts.shx", 1.02},
    {"simplex.shx", 1.19}, {"txt.shx", 1.33},
};

constexpr FontWidth kTrueTypeFiles[] = {
    {"ARIAL.TTF", 0.95},
};

// Names match exactly; a name not in the table (including the table's
// own "MINIMUM_FONT_WIDTH") gets the smallest width of the table, and
// never more than the default.
template <std::size_t N>
double lookUpWidth(const FontWidth (&table)[N], std::string_view name)
{
    double minimum = STxt::kDefaultWidthFactor;
    for (const FontWidth& font : table) {
        if (font.name == name)
            return font.width;
        minimum = std::min(minimum, font.width);
    }
    return minimum;
}

bool isDigitLike(unsigned char c)
{
    return (c >= '0' && c <= '9') || c == ' ' || c == '.' || c == kFontDiameter || c == kFontDegree ||
           c == kDegreeByte || c == kPlusMinusByte || c == kDiameterByte;
}

// Codes that take no argument: overline and strike-through on and off, the
// column break and the dimension-line break. They are skipped as two
// characters even when a ";" follows later in the text.
bool isBareCode(char c)
{
    return c == 'O' || c == 'o' || c == 'K' || c == 'k' || c == 'N' || c == 'X';
}

}  // namespace

clsMTEXT::clsMTEXT(std::string_view text, TextEncoding encoding, clsLogs* logs)
    : input_(text.substr(0, std::min(text.size(), kMaxInput))), encoding_(encoding)
{
    parse();
    setMaxHeight(logs);
    input_ = {};
}

std::string_view clsMTEXT::runText(std::size_t run) const
{
    return run < runs_.size() ? std::string_view(runs_[run].text) : std::string_view();
}

double clsMTEXT::widthFactor(std::size_t run) const
{
    if (run >= runs_.size())
        return STxt::kDefaultWidthFactor;
    const STxt& r = runs_[run];
    return r.digitsOnly ? r.widthFactor * kDigitsWidthScale : r.widthFactor;
}

double clsMTEXT::fontFamilyWidth(std::string_view name)
{
    return lookUpWidth(kFontFamilies, name);
}

double clsMTEXT::shapeFileWidth(std::string_view name)
{
    return lookUpWidth(kShapeFiles, name);
}

double clsMTEXT::trueTypeFileWidth(std::string_view name)
{
    return lookUpWidth(kTrueTypeFiles, name);
}

void clsMTEXT::parse()
{
    while (pos_ < input_.size()) {
        const char c = input_[pos_];
        if (c == '\\') {
            parseCode();
        } else if (c == '{' || c == '}') {
            ++pos_;
            startBrace(c == '{');
        } else if (c == '%' && input_.size() - pos_ > 2 && input_[pos_ + 1] == '%') {
            parsePercent();
        } else {
            addInputChar();
        }
    }
    finishRun();
}

void clsMTEXT::parseCode()
{
    if (input_.size() - pos_ < 2) {
        ++pos_;  // a backslash that ends the text selects nothing
        return;
    }
    const char code = input_[pos_ + 1];
    switch (code) {
    case '\\':
    case '{':
    case '}':
        addChar(static_cast<unsigned char>(code));
        pos_ += 2;
        return;
    case '~':  // non-breaking space
        addChar(' ');
        pos_ += 2;
        return;
    case 'U':
        if (const auto codePoint = utlUnicodeEscape(input_, pos_)) {
            addChar(utlFontCodeOf(*codePoint, encoding_).value_or(kFontUnknown));
            pos_ += kUnicodeEscapeLength;
            return;
        }
        break;
    default:
        break;
    }

    // Every other code changes the formatting: the characters so far form a run.
    finishRun();
    switch (code) {
    case 'f':
        parseFontFamily();
        break;
    case 'F':
        parseFontFile();
        break;
    case 'H':
        parseHeight();
        break;
    case 'P':
        parseParagraph();
        break;
    case 'L':
    case 'l':
        run_.underline = code == 'L' ? 1 : 0;
        pos_ += 2;
        break;
    case 'S':
        parseStack();
        break;
    default:
        skipCode();
        break;
    }
}

std::string_view clsMTEXT::argument()
{
    const std::size_t start = pos_ + 2;
    const std::size_t semicolon = input_.find(';', start);
    const std::size_t end = semicolon == std::string_view::npos ? input_.size() : semicolon;
    pos_ = semicolon == std::string_view::npos ? input_.size() : semicolon + 1;
    return input_.substr(start, end - start);
}

void clsMTEXT::parseFontFamily()
{
    const std::size_t start = pos_;
    const std::string_view arg = argument();
    run_.fontFamilyCode.assign(input_.substr(start, arg.size() + 2));
    run_.widthFactor = fontFamilyWidth(arg.substr(0, arg.find('|')));
}

void clsMTEXT::parseFontFile()
{
    const std::size_t start = pos_;
    const std::string_view arg = argument();
    run_.fontFileCode.assign(input_.substr(start, arg.size() + 2));
    run_.widthFactor = arg.find(".TTF") != std::string_view::npos ? trueTypeFileWidth(arg) : shapeFileWidth(arg);
}

void clsMTEXT::parseHeight()
{
    const std::size_t start = pos_;
    const std::string arg(argument());
    const double value = utlAtof(arg.c_str());
    const double factor = braces_ ? value * run_.heightFactor : value;
    // A height that is missing, zero, negative or not a number leaves the
    // run as it was: such text could not be seen.
    if (!(std::isfinite(factor) && factor > 0.0))
        return;
    run_.heightCode.assign(input_.substr(start, arg.size() + 2));
    run_.heightValue = value;
    run_.heightFactor = factor;
}

void clsMTEXT::parseParagraph()
{
    pos_ += 2;
    if (pos_ < input_.size() && input_[pos_] == '}') {
        ++pos_;
        braces_ = false;
        run_ = STxt{};
    }
    run_.newLine = 1;
}

void clsMTEXT::parseStack()
{
    // "\Stop/bottom;", "\Stop#bottom;" (fractions) and "\Stop^bottom;"
    // (tolerances) are shown on the line: "top/bottom", "top bottom".
    const std::string_view arg = argument();
    for (std::size_t i = 0; i < arg.size();) {
        const char c = arg[i];
        if (c == '#' || c == '^') {
            addChar(c == '#' ? '/' : ' ');
            ++i;
        } else {
            i += addCharAt(arg, i);
        }
    }
}

void clsMTEXT::skipCode()
{
    if (isBareCode(input_[pos_ + 1])) {
        pos_ += 2;
        return;
    }
    const std::size_t semicolon = input_.find(';', pos_ + 1);
    pos_ = semicolon == std::string_view::npos ? pos_ + 2 : semicolon + 1;
}

void clsMTEXT::parsePercent()
{
    switch (input_[pos_ + 2]) {
    case 'c':
    case 'C':
        addChar(kFontDiameter);
        break;
    case 'd':
    case 'D':
        addChar(kFontDegree);
        break;
    case 'p':
    case 'P':
        addChar(kFontPlusMinus);
        break;
    case '%':
        addChar('%');
        break;
    case 'u':
    case 'U':
    case 'o':
    case 'O':
        break;  // underline and overline switches: nothing to show
    default:
        addChar('%');
        ++pos_;
        return;
    }
    pos_ += 3;
}

void clsMTEXT::addChar(unsigned char c)
{
    if (run_.text.size() >= kMaxRun)
        return;
    run_.text += static_cast<char>(c);
    if (!isDigitLike(c))
        run_.digitsOnly = 0;
}

std::size_t clsMTEXT::addCharAt(std::string_view text, std::size_t pos)
{
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (encoding_ == TextEncoding::Utf8 && byte >= 0x80) {
        if (const auto decoded = utlDecodeUtf8(text, pos)) {
            addChar(decoded->code);
            return decoded->length;
        }
    }
    if (byte == kDiameterByte)
        addChar(kFontDiameter);
    else if (byte == kDegreeByte)
        addChar(kFontDegree);
    else
        addChar(byte);
    return 1;
}

void clsMTEXT::addInputChar()
{
    pos_ += addCharAt(input_, pos_);
}

void clsMTEXT::finishRun()
{
    if (run_.text.empty())
        return;
    runs_.push_back(run_);
    // The next run keeps the formatting.
    run_.text.clear();
    run_.newLine = 0;
    run_.digitsOnly = 1;
}

void clsMTEXT::startBrace(bool open)
{
    if (!run_.text.empty()) {
        finishRun();
        run_ = STxt{};
    }
    braces_ = open;
}

void clsMTEXT::setMaxHeight(clsLogs* logs)
{
    if (logs)
        logs->logLine("void clsMTEXT::setMaxHeight");
    auto lineStart = runs_.begin();
    while (lineStart != runs_.end()) {
        auto lineEnd = std::find_if(std::next(lineStart), runs_.end(), [](const STxt& r) { return r.newLine != 0; });
        const auto tallest = std::max_element(
            lineStart, lineEnd, [](const STxt& a, const STxt& b) { return a.heightFactor < b.heightFactor; });
        for (auto run = lineStart; run != lineEnd; ++run)
            run->lineHeightFactor = tallest->heightFactor;
        lineStart = lineEnd;
    }
}

std::vector<STxt> utlParseMTEXT(std::string_view text, TextEncoding encoding)
{
    clsMTEXT parsed(text, encoding);
    return parsed.runs();
}

}  // namespace kxdxf

#include "utlTextCodes.h"

namespace kxdxf {
namespace {

constexpr std::uint32_t kDiameterSign = 0x2205;
constexpr std::uint32_t kDegreeSign = 0xB0;
constexpr std::uint32_t kPlusMinusSign = 0xB1;
constexpr std::uint32_t kFirstUtf8Version = 1021;

bool isLatin1Letter(std::uint32_t c)
{
    const bool ascii = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    // The accented letters, without the multiplication and division signs.
    const bool accented = c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7;
    return ascii || accented;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

}  // namespace

TextEncoding utlTextEncodingOf(std::string_view acadver)
{
    if (acadver.size() < 3 || acadver.substr(0, 2) != "AC")
        return TextEncoding::CodePage;
    std::uint32_t number = 0;
    for (const char c : acadver.substr(2)) {
        if (c < '0' || c > '9' || number > 100000)
            return TextEncoding::CodePage;
        number = number * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return number >= kFirstUtf8Version ? TextEncoding::Utf8 : TextEncoding::CodePage;
}

std::optional<unsigned char> utlFontCodeOf(std::uint32_t codePoint, TextEncoding encoding)
{
    switch (codePoint) {
    case kDiameterSign:
        return kFontDiameter;
    case kDegreeSign:
        return kFontDegree;
    case kPlusMinusSign:
        return kFontPlusMinus;
    default:
        break;
    }
    const bool printable = (codePoint >= 0x20 && codePoint < 0x7F) || (codePoint >= 0xA0 && codePoint <= 0xFF);
    if (encoding == TextEncoding::Utf8 ? printable : isLatin1Letter(codePoint))
        return static_cast<unsigned char>(codePoint);
    return std::nullopt;
}

std::optional<utlDecodedChar> utlDecodeUtf8(std::string_view text, std::size_t pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    std::uint32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
    } else {
        return std::nullopt;
    }
    if (text.size() - pos < length)
        return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[pos + i]);
        if (!isContinuation(byte))
            return std::nullopt;
        codePoint = (codePoint << 6) | (byte & 0x3Fu);
    }
    // Overlong forms, surrogates and values beyond Unicode are malformed.
    const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < smallest[length] || (codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF)
        return std::nullopt;
    const auto code = utlFontCodeOf(codePoint, TextEncoding::Utf8);
    return utlDecodedChar{code.value_or(kFontUnknown), length};
}

std::optional<std::uint32_t> utlUnicodeEscape(std::string_view text, std::size_t pos)
{
    if (text.size() - pos < kUnicodeEscapeLength || text[pos] != '\\' || text[pos + 1] != 'U' ||
        text[pos + 2] != '+')
        return std::nullopt;
    std::uint32_t codePoint = 0;
    for (std::size_t i = 3; i < kUnicodeEscapeLength; ++i) {
        const int digit = hexDigit(text[pos + i]);
        if (digit < 0)
            return std::nullopt;
        codePoint = codePoint * 16 + static_cast<std::uint32_t>(digit);
    }
    return codePoint;
}

std::string utlDecodeText(std::string_view text, TextEncoding encoding)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        if (const auto escape = utlUnicodeEscape(text, pos)) {
            if (const auto code = utlFontCodeOf(*escape, encoding)) {
                out += static_cast<char>(*code);
                pos += kUnicodeEscapeLength;
                continue;
            }
        }
        if (encoding == TextEncoding::Utf8 && static_cast<unsigned char>(text[pos]) >= 0x80) {
            if (const auto decoded = utlDecodeUtf8(text, pos)) {
                out += static_cast<char>(decoded->code);
                pos += decoded->length;
                continue;
            }
        }
        out += text[pos++];
    }
    return out;
}

}  // namespace kxdxf

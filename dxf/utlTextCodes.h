// Character codes of DXF text mapped onto the 8-bit codes of the engine's
// stroke font: UTF-8 text of AC1021 and later files, and the "\U+XXXX"
// escapes that older files use for characters outside their code page.
#ifndef KXDXF_UTLTEXTCODES_H
#define KXDXF_UTLTEXTCODES_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kxdxf {

// The font codes the translator writes for the signs of drawings.
enum : unsigned char {
    kFontDiameter = 1,
    kFontDegree = 2,
    kFontPlusMinus = 177,
    kFontUnknown = '?',
};

// How the bytes of a file's text are to be read.
enum class TextEncoding {
    CodePage,  // AC1018 and older: one byte a character
    Utf8,      // AC1021 and later
};

// From $ACADVER ("AC1021" and later numbers are UTF-8; anything that is not
// such a version reads as a code page file).
TextEncoding utlTextEncodingOf(std::string_view acadver);

// Font code of a Unicode character, or nothing when the font has no code
// for it. Both encodings know the diameter, degree and plus/minus signs;
// UTF-8 files map every printable Latin-1 character to its byte, code page
// files only the letters (their other characters come as bytes already).
std::optional<unsigned char> utlFontCodeOf(std::uint32_t codePoint, TextEncoding encoding);

// One decoded character and the number of input bytes it took.
struct utlDecodedChar {
    unsigned char code;
    std::size_t length;
};

// The UTF-8 sequence that starts at text[pos] (a byte of 0x80 or above):
// its font code ("?" for a character without one). A malformed or cut
// sequence yields nothing: its first byte is then read as a Latin-1 byte.
std::optional<utlDecodedChar> utlDecodeUtf8(std::string_view text, std::size_t pos);

// The escape "\U+XXXX" (four hexadecimal digits) that starts at text[pos]
// (the backslash): its code point, or nothing when it is not one.
std::optional<std::uint32_t> utlUnicodeEscape(std::string_view text, std::size_t pos);
constexpr std::size_t kUnicodeEscapeLength = 7;

// Text shown as it stands (attribute values and tags): UTF-8 decoded in
// UTF-8 files and the escapes that have a font code replaced; no other
// code is interpreted.
std::string utlDecodeText(std::string_view text, TextEncoding encoding);

}  // namespace kxdxf

#endif

// What the text readers (TEXT, ATTRIB, ATTDEF, MTEXT) share: the text
// encoding of the read, the rotation and the engine call.
#ifndef KXDXF_UTLTEXTENTITY_H
#define KXDXF_UTLTEXTENTITY_H

#include <optional>
#include <string_view>

#include "clsEngineApi.h"
#include "utlTextCodes.h"

namespace kxdxf {

class clsTranslator;

// UTF-8 for AC1021 and later files.
TextEncoding utlTextEncoding(clsTranslator& tr);

// A rotation in degrees as radians; angles within 1e-7 of 0 are 0.
double utlTextRotation(double degrees);

// Hands the text to the engine. A record whose numbers are not all finite
// (a height of NaN, or positions that overflowed) is not drawn: the error
// log names the reader and the text, and nothing is returned.
std::optional<KXTextExtents> utlAddText(clsTranslator& tr, const char* reader, std::string_view text,
                                        const tagKXText& record);

}  // namespace kxdxf

#endif

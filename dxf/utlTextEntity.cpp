#include "utlTextEntity.h"

#include <cmath>
#include <string>

#include "clsTranslator.h"

namespace kxdxf {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kAngleTolerance = 1e-7;

bool isFinite(const tagKXText& r)
{
    return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.angle) && std::isfinite(r.height) &&
           std::isfinite(r.wrapWidth) && std::isfinite(r.widthFactor) && std::isfinite(r.lineSpacing);
}

}  // namespace

TextEncoding utlTextEncoding(clsTranslator& tr)
{
    const std::string* version = tr.header().find("$ACADVER.1");
    return version ? utlTextEncodingOf(*version) : TextEncoding::CodePage;
}

double utlTextRotation(double degrees)
{
    const double radians = degrees * kPi / 180.0;
    return std::fabs(radians) < kAngleTolerance ? 0.0 : radians;
}

std::optional<KXTextExtents> utlAddText(clsTranslator& tr, const char* reader, std::string_view text,
                                        const tagKXText& record)
{
    if (text.empty())
        return std::nullopt;
    const std::string copy(text);
    if (!isFinite(record)) {
        tr.logs().errMsg("%s:\tText <%s> not drawn: its position or size is not a finite number", reader,
                         copy.c_str());
        return std::nullopt;
    }
    return tr.api().AddText(tr.doc(), copy.c_str(), &record);
}

}  // namespace kxdxf

#include "clssENTITY.h"

#include <utility>

#include "clsTranslator.h"
#include "utlNumbers.h"

namespace kxdxf {
namespace {

constexpr int kMaxPairsPerEntity = 100000;
// The longest layer name kept (the rest of a longer value is dropped).
constexpr std::size_t kMaxLayerName = 1023;

bool isVertexIndexedCode(std::string_view code)
{
    return code == "40" || code == "41" || code == "42";
}

}  // namespace

void clssENTITY::readSKey(clsTranslator& tr)
{
    read(tr, Filling::Single);
}

void clssENTITY::readMKey(clsTranslator& tr)
{
    read(tr, Filling::Multi);
}

void clssENTITY::readVKey(clsTranslator& tr)
{
    read(tr, Filling::Vertex);
}

void clssENTITY::read(clsTranslator& tr, Filling filling)
{
    keys_.clear();
    layerName_.clear();
    space_ = 0;
    if (filling != Filling::Single)
        keys_.set("MKEY", "");

    long vertex = -1;
    clsDxfStream& in = tr.input();
    for (int stored = 0; stored < kMaxPairsPerEntity; ++stored) {
        const std::size_t before = in.tell();
        std::string_view code;
        std::string_view value;
        tr.utlReadGrpCodeValue(code, value);
        if (code == "0") {
            in.seek(before);
            finish(filling != Filling::Single);
            return;
        }
        switch (filling) {
        case Filling::Single:
            keys_.set(code, value);
            break;
        case Filling::Multi:
            keys_.addOccurrence(code, value);
            break;
        case Filling::Vertex:
            if (code == "10")
                ++vertex;
            if (isVertexIndexedCode(code))
                keys_.setIndexed(code, vertex, value);
            else
                keys_.addOccurrence(code, value);
            break;
        }
    }
    finish(filling != Filling::Single);
    if (filling == Filling::Single)
        tr.utlFatal("<clssENTITY::readSKey>:\tMax number of group code - value pairs <%d> exceeded\n",
                    kMaxPairsPerEntity);
    if (filling == Filling::Multi)
        tr.utlFatal("<clssENTITY::readMKey>:\tMax number of group code - value pairs <%d> exceeded\n",
                    kMaxPairsPerEntity);
}

void clssENTITY::assignMKey(clsKeyMap keys)
{
    keys_ = std::move(keys);
    keys_.set("MKEY", "");
    finish(true);
}

void clssENTITY::finish(bool multi)
{
    if (const std::string* layer = keys_.find(multi ? "8.0" : "8"))
        layerName_.assign(*layer, 0, kMaxLayerName);
    space_ = kSpaceModel;
    if (const std::string* space = keys_.find(multi ? "67.0" : "67")) {
        const int value = utlAtoi(space->c_str());
        space_ = value == 0 ? kSpaceModel : value == 1 ? kSpacePaper : kSpaceOther;
    }
    visible_ = 1;
    if (const std::string* visibility = keys_.find(multi ? "60.0" : "60"))
        visible_ = utlAtoi(visibility->c_str()) == 1 ? 0 : 1;
}

}  // namespace kxdxf

#include "clsEntitySection.h"

#include "clsTranslator.h"
#include "clssENTITY.h"
#include "rdDrEntMtext.h"
#include "rdDrEntSimple.h"
#include "rdDrEntText.h"

namespace kxdxf {
namespace {

constexpr int kMaxEntities = 500000;

using Filling = clssENTITY::Filling;
using Reader = int (*)(clsTranslator&, const clssENTITY&);

struct Dispatch {
    std::string_view name;
    Filling filling;
    // Null: the entity is read (its pairs consumed) but not imported.
    Reader reader;
    // The entities that belong to this one and follow it up to a SEQEND
    // (a POLYLINE's vertices, an INSERT's attributes); consumed with it
    // while its reader is not there to read them.
    std::string_view follower = {};
};

// Names are matched exactly: "line" is not a LINE.
constexpr Dispatch kDispatch[] = {
    {"3DFACE", Filling::Single, rdDrEnt3DFACE},
    {"ATTDEF", Filling::Single, rdDrEntATTDEF},
    {"ARC", Filling::Single, rdDrEntARC},
    {"CIRCLE", Filling::Single, rdDrEntCIRCLE},
    {"DIMENSION", Filling::Single, nullptr},
    {"ELLIPSE", Filling::Single, rdDrEntELLIPSE},
    // HATCH reads its own pairs once its reader exists; until then they
    // are consumed as multi keys.
    {"HATCH", Filling::Multi, nullptr},
    {"INSERT", Filling::Single, nullptr, "ATTRIB"},
    {"LINE", Filling::Single, rdDrEntLINE},
    {"LWPOLYLINE", Filling::Vertex, nullptr},
    {"MLINE", Filling::Multi, nullptr},
    {"MTEXT", Filling::Multi, rdDrEntMTEXT},
    {"POINT", Filling::Single, rdDrEntPOINT},
    {"POLYLINE", Filling::Single, nullptr, "VERTEX"},
    {"TEXT", Filling::Single, rdDrEntTEXT},
    {"TRACE", Filling::Single, rdDrEntTRACE},
    {"SOLID", Filling::Single, rdDrEntSOLID},
    {"SPLINE", Filling::Multi, nullptr},
    {"VIEWPORT", Filling::Single, rdDrEntVIEWPORT},
};

const Dispatch* findDispatch(std::string_view name)
{
    for (const Dispatch& entry : kDispatch) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

void consumeFollowers(clsTranslator& tr, clssENTITY& entity, std::string_view follower)
{
    clsDxfStream& in = tr.input();
    for (;;) {
        const std::size_t before = in.tell();
        std::string_view code;
        std::string_view value;
        tr.utlReadGrpCodeValue(code, value);
        if (code != "0" || (value != follower && value != "SEQEND")) {
            in.seek(before);
            return;
        }
        const bool last = value == "SEQEND";
        entity.readSKey(tr);
        if (last)
            return;
    }
}

}  // namespace

void clsEntitySection::readEntity(clsTranslator& tr, clssENTITY& entity, std::string_view name)
{
    const Dispatch* dispatch = findDispatch(name);
    if (!dispatch) {
        tr.logs().errMsg("readEntities: UNKNOWN ENTITY <%.*s>, skipping", static_cast<int>(name.size()),
                         name.data());
        tr.logs().logMsg("readEntities: UNKNOWN ENTITY <%.*s>, skipping", static_cast<int>(name.size()),
                         name.data());
        entity.readMKey(tr);
        return;
    }
    entity.read(tr, dispatch->filling);
    const bool drawn = entity.space() == tr.readSpace() && entity.visible() == 1;
    if (!drawn)
        return;
    if (!dispatch->follower.empty())
        consumeFollowers(tr, entity, dispatch->follower);
    if (dispatch->reader)
        dispatch->reader(tr, entity);
}

int clsEntitySection::readEntities(clsTranslator& tr)
{
    tr.utlLogMsg("<readEntities>:\t\tentered");
    tr.setCurrentSection(kSectionEntities);
    clssENTITY entity;
    for (int count = 0; count < kMaxEntities; ++count) {
        std::string_view code;
        std::string_view value;
        tr.utlReadGrpCodeValue(code, value);
        if (value == "ENDSEC") {
            tr.utlLogMsg("<readEntities>:\t\tnormal exit");
            tr.setCurrentSection(kSectionNone);
            return 1;
        }
        readEntity(tr, entity, value);
    }
    tr.logs().errMsg("<readEntities>:\t\tNumber of ENTITIES in the ENTITY SECTION exceeded <%d>", kMaxEntities);
    tr.setCurrentSection(kSectionNone);
    return 0;
}

}  // namespace kxdxf

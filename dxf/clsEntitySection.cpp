#include "clsEntitySection.h"


#include "clsTranslator.h"
#include "clssENTITY.h"
#include "rdDrEntHatch.h"
#include "rdDrEntInsert.h"
#include "rdDrEntMline.h"
#include "rdDrEntMtext.h"
#include "rdDrEntPolyline.h"
#include "rdDrEntSimple.h"
#include "rdDrEntSpline.h"
#include "rdDrEntText.h"
#include "utlEntityKeys.h"
#include "utlNumbers.h"

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
    // (a POLYLINE's vertices, an INSERT's attributes); its reader reads
    // them, and they are consumed with it when it is not drawn.
    std::string_view follower = {};
    // The reader reads the entity's pairs itself and decides whether it is
    // drawn.
    bool readsOwnPairs = false;
};

// Names are matched exactly: "line" is not a LINE.
constexpr Dispatch kDispatch[] = {
    {"3DFACE", Filling::Single, rdDrEnt3DFACE},
    // A table is drawn through its anonymous block.
    {"ACAD_TABLE", Filling::Multi, rdDrEntACADTABLE},
    {"ATTDEF", Filling::Single, rdDrEntATTDEF},
    {"ARC", Filling::Single, rdDrEntARC},
    {"CIRCLE", Filling::Single, rdDrEntCIRCLE},
    {"DIMENSION", Filling::Single, rdDrEntDIMENSION},
    {"ELLIPSE", Filling::Single, rdDrEntELLIPSE},
    {"HATCH", Filling::Multi, rdDrEntHATCH, {}, true},
    {"INSERT", Filling::Single, rdDrEntINSERT, "ATTRIB"},
    {"LINE", Filling::Single, rdDrEntLINE},
    {"LWPOLYLINE", Filling::Vertex, rdDrEntLWPOLYLINE},
    {"MLINE", Filling::Multi, rdDrEntMLINE},
    {"MTEXT", Filling::Multi, rdDrEntMTEXT},
    {"POINT", Filling::Single, rdDrEntPOINT},
    {"POLYLINE", Filling::Single, rdDrEntPOLYLINE, "VERTEX"},
    {"TEXT", Filling::Single, rdDrEntTEXT},
    {"TRACE", Filling::Single, rdDrEntTRACE},
    {"SOLID", Filling::Single, rdDrEntSOLID},
    {"SPLINE", Filling::Multi, rdDrEntSPLINE},
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

}  // namespace

void clsEntitySection::consumeFollowers(clsTranslator& tr, clssENTITY& entity, std::string_view follower)
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

void clsEntitySection::readEntity(clsTranslator& tr, clssENTITY& entity, std::string_view name, Where where)
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
    if (dispatch->readsOwnPairs) {
        dispatch->reader(tr, entity);
        return;
    }
    entity.read(tr, dispatch->filling);
    const bool drawn =
        where == Where::Block || (entity.space() == tr.readSpace() && entity.visible() == 1);
    if (drawn && dispatch->reader) {
        try {
            dispatch->reader(tr, entity);
            return;
        } catch (const clsSkipEntity&) {
            // Reported by the reader; what belongs to the entity goes with it.
        }
    }
    if (!dispatch->follower.empty())
        consumeFollowers(tr, entity, dispatch->follower);
}

int clsEntitySection::readEntities(clsTranslator& tr)
{
    tr.utlLogMsg("<readEntities>:\t\tentered");
    tr.setCurrentSection(kSectionEntities);
    clssENTITY entity;
    const std::size_t most = tr.utlSectionBound(kMaxEntities);
    for (std::size_t count = 0; count < most; ++count) {
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
    tr.logs().errMsg("<readEntities>:\t\tNumber of ENTITIES in the ENTITY SECTION exceeded <%d>", utlClampToInt(static_cast<double>(most)));
    tr.setCurrentSection(kSectionNone);
    return 0;
}

}  // namespace kxdxf

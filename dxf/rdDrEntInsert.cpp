#include "rdDrEntInsert.h"

#include <cmath>

#include "clsEntityAttribs.h"
#include "clsOCS.h"
#include "clsTranslator.h"
#include "clssENTITY.h"
#include "rdDrEntText.h"
#include "utlEntityKeys.h"

namespace kxdxf {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr int kMaxAttributes = 100;
// An array insert places at most this many copies: enough for any real
// array, and a bound on what a corrupt count can make the engine hold.
constexpr long kMaxArrayCopies = 100000;

void insertBlock(
    clsTranslator& tr, const std::string& name, const tagKXInsert& insert, const double* elevation)
{
    tr.blockGraph().insert(name);
    tr.api().InsertBlockStr(tr.doc(), name.c_str(), &insert, elevation);
}

// Every copy of an array insert (one copy for a plain insert). The column
// and row spacings are measured along the rotated axes and are not scaled.
void insertArray(clsTranslator& tr, const clssENTITY& entity, const std::string& name,
    const tagKXInsert& first, const double* elevation)
{
    const long columns = std::max(1, utlKeyInt(entity, "70", 1));
    long rows = std::max(1, utlKeyInt(entity, "71", 1));
    if (columns * rows > kMaxArrayCopies) {
        const long placedRows = std::max(1L, kMaxArrayCopies / columns);
        tr.logs().errMsg("rdDrEntINSERT:\tarray of <%ld> x <%ld> copies of block <%s> exceeds <%ld> copies, "
                         "<%ld> rows placed",
            columns, rows, name.c_str(), kMaxArrayCopies, placedRows);
        rows = placedRows;
    }
    const long columnsPlaced = std::min(columns, kMaxArrayCopies);
    const double columnSpacing = utlKeyReal(entity, "44", 0.0);
    const double rowSpacing = utlKeyReal(entity, "45", 0.0);
    const double c = std::cos(first.rotation);
    const double s = std::sin(first.rotation);
    for (long row = 0; row < rows; ++row) {
        for (long column = 0; column < columnsPlaced; ++column) {
            const double dx = static_cast<double>(column) * columnSpacing;
            const double dy = static_cast<double>(row) * rowSpacing;
            tagKXInsert copy = first;
            if (row != 0 || column != 0) {
                copy.x += dx * c - dy * s;
                copy.y += dx * s + dy * c;
            }
            insertBlock(tr, name, copy, elevation);
        }
    }
}

// The attribute values of an insert, each filled with single keys. Their
// text is drawn by the text readers: rdDrEntATTRIB (value variant) is
// called from here and nowhere else.
void drawInsertAttribute(clsTranslator& tr, const clssENTITY& attribute)
{
    try {
        rdDrEntATTRIB(tr, attribute, AttribVariant::Value);
    } catch (const clsSkipEntity&) {
        // Reported by the reader; the insert's other attributes still follow.
    }
}

// The ATTRIB entities up to their SEQEND: 1, or 0 when another entity
// came first (the stream is left at it).
int readAttributes(clsTranslator& tr, const clssENTITY& insert)
{
    clsEntityAttribs::setEntityAttribs(tr, insert);
    clssENTITY attribute;
    clsDxfStream& in = tr.input();
    for (int count = 0; count < kMaxAttributes;) {
        const std::size_t before = in.tell();
        std::string_view code;
        std::string_view value;
        tr.utlReadGrpCodeValue(code, value);
        if (value == "ATTRIB") {
            attribute.readSKey(tr);
            drawInsertAttribute(tr, attribute);
            ++count;
        } else if (value == "SEQEND") {
            attribute.readSKey(tr);
            return 1;
        } else {
            tr.logs().errMsg("rdDrEntINSERT>: should only be ATTRIB or SEQEND, not <%.*s>",
                static_cast<int>(value.size()), value.data());
            in.seek(before);
            return 0;
        }
    }
    tr.utlLogMsg("<rdDrEntINSERT>:\t\texitting after reading ATTIRIB");
    return 1;
}

}  // namespace

int rdDrEntINSERT(clsTranslator& tr, const clssENTITY& entity)
{
    tr.utlLogMsg("<rdDrEntINSERT>:\t\tentered");
    const std::string& name = utlRequiredKey(tr, entity, "2", "readInsert:\tNo value for mrkr <2>\n");
    const double x = utlRequiredReal(tr, entity, "10", "readInsert:\tNo value for mrkr <10>\n");
    const double y = utlRequiredReal(tr, entity, "20", "readInsert:\tNo value for mrkr <20>\n");
    const tagKXInsert insert{x, y, utlKeyReal(entity, "50", 0.0) * kPi / 180.0, utlKeyReal(entity, "41", 1.0),
        utlKeyReal(entity, "42", 1.0)};
    clsEntityAttribs::setEntityAttribs(tr, entity);
    const double elevation = utlKeyReal(entity, "38", 0.0);
    {
        const clsOCS::Scope plane(tr, clsOCS(entity));
        insertArray(tr, entity, name, insert, &elevation);
    }
    if (utlKeyInt(entity, "66", 0) != 0)
        return readAttributes(tr, entity);
    tr.utlLogMsg("<rdDrEntINSERT>:\t\texitting");
    return 1;
}

int rdDrEntDIMENSION(clsTranslator& tr, const clssENTITY& entity)
{
    tr.utlLogMsg("<rdDrEntDIMENSION>:\t\tentered");
    const std::string& name =
        utlRequiredKey(tr, entity, "2", "rdDrEntDIMENSION:\tNo value for Group Code <2> (Name)\n");
    utlRequiredKey(tr, entity, "10", "rdDrEntDIMENSION:\tNo value for Group Code <10> (Insertion X)\n");
    utlRequiredKey(tr, entity, "20", "rdDrEntDIMENSION:\tNo value for Group Code <20> (Insertion Y)\n");
    clsEntityAttribs::setEntityAttribs(tr, entity);
    // The block holds the dimension's geometry where it is drawn.
    insertBlock(tr, name, tagKXInsert{0.0, 0.0, 0.0, 1.0, 1.0}, nullptr);
    tr.utlLogMsg("<rdDrEntDIMENSION>:\t\tNormal Exit");
    return 1;
}

int rdDrEntACADTABLE(clsTranslator& tr, const clssENTITY& entity)
{
    tr.utlLogMsg("<rdDrEntACADTABLE>:\t\tentered");
    const std::string& name =
        utlRequiredKey(tr, entity, "2.0", "rdDrEntACADTABLE:\tNo value for Group Code <2> (Block Name)\n");
    const tagKXInsert insert{utlKeyReal(entity, "10.0", 0.0), utlKeyReal(entity, "20.0", 0.0), 0.0, 1.0, 1.0};
    clsEntityAttribs::setEntityAttribsMKey(tr, entity);
    insertBlock(tr, name, insert, nullptr);
    tr.utlLogMsg("<rdDrEntACADTABLE>:\t\tnormal exit");
    return 1;
}

}  // namespace kxdxf

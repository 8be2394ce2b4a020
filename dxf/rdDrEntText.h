// Readers of the single-line texts: TEXT, and the attributes ATTRIB (the
// value an INSERT carries) and ATTDEF (the tag of a definition). Each takes
// the entity filled with single keys.
#ifndef KXDXF_RDDRENTTEXT_H
#define KXDXF_RDDRENTTEXT_H

namespace kxdxf {

class clsTranslator;
class clssENTITY;

struct utlTextPoint {
    double x;
    double y;
};

// Which text of an attribute entity is shown.
enum class AttribVariant {
    Value,  // ATTRIB after an INSERT: group 1
    Tag,    // ATTDEF: group 2
};

int rdDrEntTEXT(clsTranslator& tr, const clssENTITY& entity);
// An ATTRIB on layer "0" keeps the attributes current before it (those of
// its INSERT); on another layer it sets its own. ATTDEF never sets any.
int rdDrEntATTRIB(clsTranslator& tr, const clssENTITY& entity, AttribVariant variant);
// The ATTDEF variant, as the entity dispatch calls it.
int rdDrEntATTDEF(clsTranslator& tr, const clssENTITY& entity);

// Groups 10/20 and 11/21; a missing one aborts the read.
utlTextPoint getFirstAlignPnt(clsTranslator& tr, const clssENTITY& entity);
utlTextPoint getSecondAlignPnt(clsTranslator& tr, const clssENTITY& entity);

}  // namespace kxdxf

#endif

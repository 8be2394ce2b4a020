// Turning an entity's layer, colour, linetype and lineweight groups into
// the engine's current attributes.
#ifndef KXDXF_CLSENTITYATTRIBS_H
#define KXDXF_CLSENTITYATTRIBS_H

namespace kxdxf {

class clsTranslator;
class clssENTITY;

class clsEntityAttribs {
public:
    // From groups 62, 48, 6 and 370 of an entity filled with single keys.
    static void setEntityAttribs(clsTranslator& tr, const clssENTITY& entity);
    // The same for an entity filled with multi keys ("62.0", ...).
    static void setEntityAttribsMKey(clsTranslator& tr, const clssENTITY& entity);
    // A width of its own, in drawing units, on top of the current record.
    static void utlSetLineWidth(clsTranslator& tr, double startWidth, double endWidth);

private:
    static void set(clsTranslator& tr, const clssENTITY& entity, bool multi);
};

}  // namespace kxdxf

#endif

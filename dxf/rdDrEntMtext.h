// Reader of MTEXT: the formatted runs of the text laid out one after the
// other, each measured and drawn through the engine. Takes the entity
// filled with multi keys.
#ifndef KXDXF_RDDRENTMTEXT_H
#define KXDXF_RDDRENTMTEXT_H

namespace kxdxf {

class clsTranslator;
class clssENTITY;

int rdDrEntMTEXT(clsTranslator& tr, const clssENTITY& entity);

}  // namespace kxdxf

#endif

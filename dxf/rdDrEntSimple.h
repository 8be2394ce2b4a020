// Readers of the entities that map directly to engine primitives. Each
// takes the entity filled with single keys, sets the engine attributes and
// creates the engine entities; a missing required group aborts the read.
#ifndef KXDXF_RDDRENTSIMPLE_H
#define KXDXF_RDDRENTSIMPLE_H

namespace kxdxf {

class clsTranslator;
class clssENTITY;

int rdDrEntLINE(clsTranslator& tr, const clssENTITY& entity);
int rdDrEntPOINT(clsTranslator& tr, const clssENTITY& entity);
int rdDrEntCIRCLE(clsTranslator& tr, const clssENTITY& entity);
int rdDrEntARC(clsTranslator& tr, const clssENTITY& entity);
int rdDrEntELLIPSE(clsTranslator& tr, const clssENTITY& entity);
int rdDrEntSOLID(clsTranslator& tr, const clssENTITY& entity);
int rdDrEntTRACE(clsTranslator& tr, const clssENTITY& entity);
int rdDrEnt3DFACE(clsTranslator& tr, const clssENTITY& entity);
int rdDrEntVIEWPORT(clsTranslator& tr, const clssENTITY& entity);

}  // namespace kxdxf

#endif

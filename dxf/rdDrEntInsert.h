// Readers of the entities drawn as references to a block: INSERT (with its
// ATTRIB entities and array copies), DIMENSION and ACAD_TABLE (references
// to their anonymous blocks).
#ifndef KXDXF_RDDRENTINSERT_H
#define KXDXF_RDDRENTINSERT_H

namespace kxdxf {

class clsTranslator;
class clssENTITY;

// Single keys. 0 when the attributes that follow it were cut short by
// another entity (left for the section to read), else 1.
int rdDrEntINSERT(clsTranslator& tr, const clssENTITY& entity);
// Single keys.
int rdDrEntDIMENSION(clsTranslator& tr, const clssENTITY& entity);
// Multi keys: a table's cells repeat groups that its block name shares.
int rdDrEntACADTABLE(clsTranslator& tr, const clssENTITY& entity);

}  // namespace kxdxf

#endif

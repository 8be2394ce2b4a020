// Reader of HATCH: the boundary paths become an engine clip region, each
// pattern definition line an engine hatch pattern. A hatch without pattern
// lines (a solid fill) is shown by its boundary.
#ifndef KXDXF_RDDRENTHATCH_H
#define KXDXF_RDDRENTHATCH_H

namespace kxdxf {

class clsTranslator;
class clssENTITY;

// Reads the hatch's pairs itself (the entity passed in is not filled) and
// leaves the stream at the next entity; a hatch whose groups do not
// describe it is left out with an error-log line. Returns 1.
int rdDrEntHATCH(clsTranslator& tr, const clssENTITY& entity);

}  // namespace kxdxf

#endif

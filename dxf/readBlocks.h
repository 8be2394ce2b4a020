// The BLOCKS section: each block definition becomes an engine block whose
// entities are read by the readers of the ENTITIES section.
#ifndef KXDXF_READBLOCKS_H
#define KXDXF_READBLOCKS_H

namespace kxdxf {

class clsTranslator;

// Reads up to "0"/"ENDSEC": 1, or 0 when the block limit ended it first or
// the section was cut short by the next section or the end of the file.
int readBlocks(clsTranslator& tr);
// Reads one definition, from the pairs of its BLOCK entity (the "0"/"BLOCK"
// pair was just read) to its ENDBLK. 1 when the block was read to its end.
int readBlock(clsTranslator& tr);

}  // namespace kxdxf

#endif

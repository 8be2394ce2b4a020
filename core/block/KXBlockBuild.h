// Block definitions and references made through the C interface.
#pragma once

#include <korvex/kxtypes.h>

#include "KXStatus.h"

class CKXDoc;

namespace kxblock {

// A new block made the current container; its number (1-based).
KXResult<int> StartBlock(CKXDoc& doc, const tagKXBlockDef& def);
// The document is the current container again; the number of blocks.
KXResult<int> EndBlock(CKXDoc& doc);
// A reference appended to the current container, by block number (1-based)
// or, with number 0, by name.
KXStatus InsertBlock(CKXDoc& doc, int number, const char* name, const tagKXInsert& insert, const double* z);

}  // namespace kxblock

// Raised by clsTranslator::utlFatal to unwind an aborted read to its entry.
#ifndef KXDXF_CLSABORTREAD_H
#define KXDXF_CLSABORTREAD_H

#include <stdexcept>

namespace kxdxf {

class clsAbortRead : public std::runtime_error {
public:
    clsAbortRead() : std::runtime_error("DXF read aborted") {}
};

}  // namespace kxdxf

#endif

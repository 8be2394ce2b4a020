// Opening a DXF input for reading.
#ifndef KXDXF_UTLOPENINPUTFILE_H
#define KXDXF_UTLOPENINPUTFILE_H

#include <cstdio>
#include <memory>
#include <string>

namespace kxdxf {

using FilePtr = std::unique_ptr<FILE, int (*)(FILE*)>;

// The file opened "rb", or null when it cannot be opened or is not a
// regular file: a device such as /dev/zero or a FIFO never ends and
// would be read forever.
FilePtr utlOpenInputFile(const std::string& path);

}  // namespace kxdxf

#endif

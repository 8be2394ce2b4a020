// What the file services report of a path, read once from stat: attribute
// bits, times and size in the Windows shapes.
#pragma once

#include <kxplatform/fileapi.h>

namespace kxplatform {

// False when nothing can be examined at path.
bool ReadFileFacts(const char* path, WIN32_FILE_ATTRIBUTE_DATA& facts);

}  // namespace kxplatform

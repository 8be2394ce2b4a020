#include "utlOpenInputFile.h"

#include <sys/stat.h>

namespace kxdxf {
namespace {

bool isRegularFile(const struct stat& info)
{
    return S_ISREG(info.st_mode);
}

}  // namespace

FilePtr utlOpenInputFile(const std::string& path)
{
    FilePtr none(nullptr, &std::fclose);
    // Checked before opening too: opening a FIFO waits for a writer.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !isRegularFile(info))
        return none;
    FilePtr file(std::fopen(path.c_str(), "rb"), &std::fclose);
    // And again on what was opened, in case the path changed meanwhile.
    if (!file || ::fstat(::fileno(file.get()), &info) != 0 || !isRegularFile(info))
        return none;
    return file;
}

}  // namespace kxdxf

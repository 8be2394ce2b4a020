// Line-end convention of a DXF file and the copy that turns bare carriage
// returns into line feeds.
#ifndef KXDXF_CLSINPUTFILE_H
#define KXDXF_CLSINPUTFILE_H

#include <optional>
#include <string>

namespace kxdxf {

class clsInputFile {
public:
    enum Format : int { kUndecided = 0, kCrLf = 1, kLf = 2, kBareCr = 3 };

    // The convention of the first line that decides it; nothing when the
    // file cannot be opened.
    static std::optional<int> getFileFormat(const std::string& path);
    enum class CopyResult { Copied, InputFailed, OutputFailed };

    // Copies input to output with every carriage return made a line feed;
    // says which side failed when a file cannot be opened, read or written.
    static CopyResult convertCrToLf(const std::string& input, const std::string& output);
};

}  // namespace kxdxf

#endif

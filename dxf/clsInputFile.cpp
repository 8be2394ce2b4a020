#include "clsInputFile.h"

#include <cstdio>
#include <cstring>

#include "utlOpenInputFile.h"

namespace kxdxf {
namespace {

// Lines are examined as fgets delivers them into a 4096-byte buffer.
constexpr int kFormatLineBuffer = 4096;
constexpr std::size_t kCopyChunk = 1 << 16;

int classifyLine(const char* line, std::size_t length)
{
    if (length >= 2 && line[length - 2] == '\r' && line[length - 1] == '\n')
        return clsInputFile::kCrLf;
    if (length >= 1 && line[length - 1] == '\n')
        return clsInputFile::kLf;
    for (std::size_t i = 0; i + 1 < length; ++i) {
        if (line[i] == '\r' && line[i + 1] != '\n')
            return clsInputFile::kBareCr;
    }
    return clsInputFile::kUndecided;
}

}  // namespace

std::optional<int> clsInputFile::getFileFormat(const std::string& path)
{
    const FilePtr file = utlOpenInputFile(path);
    if (!file)
        return std::nullopt;
    char line[kFormatLineBuffer];
    while (std::fgets(line, kFormatLineBuffer, file.get())) {
        const int format = classifyLine(line, std::strlen(line));
        if (format != kUndecided)
            return format;
    }
    return kUndecided;
}

clsInputFile::CopyResult clsInputFile::convertCrToLf(const std::string& input, const std::string& output)
{
    const FilePtr in = utlOpenInputFile(input);
    if (!in)
        return CopyResult::InputFailed;
    const FilePtr out(std::fopen(output.c_str(), "wb"), &std::fclose);
    if (!out)
        return CopyResult::OutputFailed;
    // Byte for byte, so that NUL bytes and long lines are copied unchanged.
    char buffer[kCopyChunk];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, in.get())) > 0) {
        for (std::size_t i = 0; i < got; ++i) {
            if (buffer[i] == '\r')
                buffer[i] = '\n';
        }
        if (std::fwrite(buffer, 1, got, out.get()) != got)
            return CopyResult::OutputFailed;
    }
    if (std::ferror(in.get()) != 0)
        return CopyResult::InputFailed;
    return std::fflush(out.get()) == 0 ? CopyResult::Copied : CopyResult::OutputFailed;
}

}  // namespace kxdxf

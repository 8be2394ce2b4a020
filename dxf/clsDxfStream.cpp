#include "clsDxfStream.h"

#include <cstdio>
#include <cstring>

#include <sys/stat.h>

#include "utlOpenInputFile.h"

namespace kxdxf {

std::size_t clsDxfStream::sizeHint(std::FILE* file)
{
    // Pipes and devices tell no size: they are read in chunks alone.
    struct stat facts {};
    if (fstat(fileno(file), &facts) != 0 || !S_ISREG(facts.st_mode) || facts.st_size <= 0)
        return 0;
    return static_cast<std::size_t>(facts.st_size);
}

bool clsDxfStream::open(const std::string& path)
{
    close();
    const FilePtr file = utlOpenInputFile(path);
    if (!file)
        return false;
    // Grow by chunks rather than trusting a size query: the file may
    // change while it is read. The size it tells now still spares the
    // buffer the copies of regrowing for a file that stays as it is.
    constexpr std::size_t kChunk = 1 << 20;
    data_.reserve(sizeHint(file.get()) + kChunk);
    std::size_t used = 0;
    for (;;) {
        data_.resize(used + kChunk);
        const std::size_t got = std::fread(data_.data() + used, 1, kChunk, file.get());
        used += got;
        if (got < kChunk)
            break;
    }
    const bool failed = std::ferror(file.get()) != 0;
    data_.resize(used);
    // Only a buffer much larger than the file is copied into a smaller one.
    if (data_.capacity() - used > used / 8 + kChunk)
        data_.shrink_to_fit();
    if (failed) {
        data_.clear();
        return false;
    }
    pos_ = 0;
    open_ = true;
    return true;
}

void clsDxfStream::openBuffer(std::string_view data)
{
    close();
    data_.assign(data.begin(), data.end());
    open_ = true;
}

void clsDxfStream::close()
{
    data_.clear();
    data_.shrink_to_fit();
    pos_ = 0;
    open_ = false;
}

std::optional<std::string_view> clsDxfStream::readLine(std::size_t maxChars)
{
    if (pos_ >= data_.size())
        return std::nullopt;
    const char* const begin = data_.data() + pos_;
    const std::size_t avail = data_.size() - pos_;
    const std::size_t limit = avail < maxChars ? avail : maxChars;
    std::size_t chunk = limit;
    std::size_t cut = limit;
    for (std::size_t i = 0; i < limit; ++i) {
        const char c = begin[i];
        if (c == '\n') {
            if (cut > i)
                cut = i;
            chunk = i + 1;
            break;
        }
        if ((c == '\r' || c == '\0') && cut > i)
            cut = i;
    }
    pos_ += chunk;
    std::size_t first = 0;
    while (first < cut && begin[first] == ' ')
        ++first;
    return std::string_view(begin + first, cut - first);
}

bool clsDxfStream::startsWith(std::string_view prefix) const
{
    return data_.size() >= prefix.size() && std::memcmp(data_.data(), prefix.data(), prefix.size()) == 0;
}

}  // namespace kxdxf

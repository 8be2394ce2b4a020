#include "OutputNaming.h"

#include <kxplatform/fileapi.h>

#include <algorithm>

namespace OutputNaming {

namespace {

std::string PathIn(const std::string& directory, const std::string& fittedBase,
                   const std::string& suffix) {
    std::string path = directory;
    if (!path.empty() && path.back() != KX_PATH_SEPARATOR) path += KX_PATH_SEPARATOR;
    return path + fittedBase + suffix + "." + kExtension;
}

}  // namespace

std::string FileNameOf(const std::string& path) {
    const auto cut = path.rfind(KX_PATH_SEPARATOR);
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string BaseNameOf(const std::string& path) {
    const std::string name = FileNameOf(path);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string PageSuffix(int page) {
    return page == kNoPage ? std::string() : "(p" + std::to_string(page) + ")";
}

std::string Fit(const std::string& base, const std::string& suffix, int counter, bool forced) {
    if (!forced && base.size() + suffix.size() <= kMaxNameLength) return base;
    const std::string tag = "~" + std::to_string(counter);
    if (base.size() + tag.size() + suffix.size() < kMaxNameLength) return base + tag;
    const size_t kept = kMaxNameLength - std::min(kMaxNameLength, suffix.size() + tag.size());
    return base.substr(0, kept) + tag;
}

std::optional<std::string> OutputPath(const std::string& destinationDirectory,
                                      const std::string& input, int page, bool uniqueNames,
                                      const FileExists& exists) {
    const std::string base = BaseNameOf(input);
    const std::string suffix = PageSuffix(page);
    const std::string first = PathIn(destinationDirectory, Fit(base, suffix, 1, false), suffix);
    if (!uniqueNames || !exists(first)) return first;
    for (int counter = 1; counter <= kMaxCounter; ++counter) {
        const std::string candidate =
            PathIn(destinationDirectory, Fit(base, suffix, counter, true), suffix);
        if (!exists(candidate)) return candidate;
    }
    return std::nullopt;
}

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace OutputNaming

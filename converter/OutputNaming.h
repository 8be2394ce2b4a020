// Output file names: the input's base name, an optional "(pN)" page suffix,
// the "pdb" extension, kept within 30 characters by a "~N" tag, and made
// unique on request.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace OutputNaming {

constexpr size_t kMaxNameLength = 30;  // base, tag and suffix, without extension
constexpr int kMaxCounter = 99999;
constexpr int kNoPage = -1;
constexpr const char* kExtension = "pdb";

using FileExists = std::function<bool(const std::string& path)>;

// The name without its directory.
std::string FileNameOf(const std::string& path);
// The name without its directory and extension.
std::string BaseNameOf(const std::string& path);
// "(pN)" for a page, "" for kNoPage.
std::string PageSuffix(int page);
// The base, cut and tagged with "~counter" when forced or too long.
std::string Fit(const std::string& base, const std::string& suffix, int counter, bool forced);

// The path to write for input (page or kNoPage) in the destination
// directory; with unique names, the first that does not exist, or nullopt
// when every counter is taken.
std::optional<std::string> OutputPath(const std::string& destinationDirectory,
                                      const std::string& input, int page, bool uniqueNames,
                                      const FileExists& exists);

// Whether anything (file or directory) is at the path.
bool PathExists(const std::string& path);

}  // namespace OutputNaming

// The temp-directory services the translator needs: where its logs go and
// unique names for the line-end conversion copy.
#ifndef KXDXF_CLSTEMPFILES_H
#define KXDXF_CLSTEMPFILES_H

#include <string>

namespace kxdxf {

class clsTempFiles {
public:
    // The temp directory, ending with the path separator; empty when none
    // can be found.
    static std::string directory();
    // Creates a new empty file named prefix + a unique suffix in the
    // directory and returns its path; empty on failure.
    static std::string createUnique(const std::string& directory, const std::string& prefix);
    static void remove(const std::string& path);
};

}  // namespace kxdxf

#endif

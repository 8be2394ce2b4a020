// kxpdbinfo: validates a drawing file and prints what it holds.
//
//   kxpdbinfo [-q] file.pdb
//
// Exit status 0 when the file obeys every structural rule of the format,
// 1 with a message naming the first violation, 2 for a usage error.
#include <cstdio>
#include <cstring>
#include <string>

#include "CKXPdbValidator.h"

int main(int argc, char** argv) {
    bool quiet = false;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-q") == 0) {
            quiet = true;
        } else if (path == nullptr) {
            path = argv[i];
        } else {
            path = nullptr;
            break;
        }
    }
    if (path == nullptr) {
        std::fprintf(stderr, "usage: kxpdbinfo [-q] file.pdb\n");
        return 2;
    }
    const KXPdbResult result = CKXPdbValidator::ValidateFile(path);
    if (!result.ok) {
        std::fprintf(stderr, "kxpdbinfo: %s: invalid drawing file: %s\n", path, result.error.c_str());
        return 1;
    }
    if (!quiet) std::fputs(KXPdbFormatSummary(result.summary).c_str(), stdout);
    std::printf("%s: valid drawing file\n", path);
    return 0;
}

// Feeds arbitrary bytes through the DXF translator into the real engine, then
// finishes the document and writes its drawing file: the path a converted
// file takes, with translator and engine both carrying the instrumentation.
#include <korvex/kxdoc.h>
#include <korvex/kxtranslator.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "CKXDoc.h"

extern "C" int TranslatorRead(const char* path, KXDOC doc);

namespace {

struct Paths {
    std::string input;
    std::string output;
};

const Paths& WorkPaths()
{
    static const Paths paths = [] {
        char dir[] = "/tmp/dxf-engine-fuzz-XXXXXX";
        if (!::mkdtemp(dir))
            std::abort();
        ::setenv("TMPDIR", dir, 1);
        return Paths{std::string(dir) + "/input.dxf", std::string(dir) + "/output.pdb"};
    }();
    return paths;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Paths& paths = WorkPaths();
    FILE* file = std::fopen(paths.input.c_str(), "wb");
    if (!file)
        return 0;
    const bool written = std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written)
        return 0;

    KXDOC doc = KXCreateDocInstance();
    if (!doc)
        std::abort();
    // What KXRead does before it hands the document to the plug-in.
    static_cast<CKXDoc*>(doc)->SetFileName(paths.input);
    TranslatorRead(paths.input.c_str(), doc);
    if (KXClose(doc, 0) != 1)
        std::abort();  // finishing never fails, whatever the translator added
    KXWrite(doc, paths.output.c_str());
    std::remove(paths.output.c_str());
    KXDeleteDocInstance(doc);
    return 0;
}

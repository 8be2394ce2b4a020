// The plug-in entry the engine binds by name. Nothing thrown inside the
// translator crosses it: a read that ends by an exception is a failed read.
#include <korvex/kxtranslator.h>

#include "clsEngineApi.h"
#include "clsTranslator.h"

extern "C" __attribute__((visibility("default"))) int TranslatorRead(const char* path, KXDOC doc)
{
    try {
        kxdxf::clsTranslator translator(kxdxf::clsEngineApi::engine(), doc);
        return translator.read(path);
    } catch (...) {
        return 0;
    }
}

// The plug-in entry the engine binds by name.
#include <korvex/kxtranslator.h>

#include "clsEngineApi.h"
#include "clsTranslator.h"

extern "C" __attribute__((visibility("default"))) int TranslatorRead(const char* path, KXDOC doc)
{
    kxdxf::clsTranslator translator(kxdxf::clsEngineApi::engine(), doc);
    return translator.read(path);
}

// Fake translator. The input is a text file of words:
//   layouts N   the drawing has N layouts ("Layout 0" ...)
//   fail        the read fails (returns 0) after adding a line
// Every read appends "<input> layout=<current layout>" to the file named by
// KX_FAKE_TRANSLATOR_LOG, so tests can see each pass.
#include <korvex/kxcore.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

void RecordRead(const char* path, KXDOC doc) {
    const char* logPath = std::getenv("KX_FAKE_TRANSLATOR_LOG");
    if (logPath == nullptr) return;
    std::ofstream(logPath, std::ios::app) << path << " layout=" << KXGetCurrentLayout(doc) << "\n";
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int TranslatorRead(const char* path, KXDOC doc) {
    RecordRead(path, doc);
    std::ifstream in(path);
    if (!in) return 0;
    int layouts = 1;
    bool fail = false;
    std::string word;
    while (in >> word) {
        if (word == "layouts") in >> layouts;
        if (word == "fail") fail = true;
    }
    KXAddLayout(doc, "Model space");
    for (int i = 1; i < layouts; ++i) KXAddLayout(doc, ("Layout " + std::to_string(i)).c_str());
    const double start[2] = {0.0, 0.0};
    const double end[2] = {100.0, 50.0 + KXGetCurrentLayout(doc)};
    const double z = 0.0;
    KXAddLine(doc, start, end, nullptr, &z);
    return fail ? 0 : 1;
}

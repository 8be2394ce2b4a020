// Feeds arbitrary bytes to the MTEXT code parser, in both encodings, and
// checks what every run must hold whatever the input.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "clsMTEXT.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kxdxf;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const TextEncoding encoding : {TextEncoding::CodePage, TextEncoding::Utf8}) {
        const clsMTEXT parsed(text, encoding);
        std::size_t total = 0;
        for (const STxt& run : parsed.runs()) {
            total += run.text.size();
            if (run.text.empty() || !(run.heightFactor > 0.0) || !std::isfinite(run.heightFactor) ||
                run.lineHeightFactor < run.heightFactor)
                std::abort();
        }
        if (total > clsMTEXT::kMaxInput)
            std::abort();
    }
    return 0;
}

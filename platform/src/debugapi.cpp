// Debug output strings: one process-wide sink, stderr on request.
#include <kxplatform/debugapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

constexpr const char* kStderrSwitch = "KX_DEBUG_OUTPUT";

struct DebugOutput {
    std::mutex mutex;
    KXDEBUGSINK sink = nullptr;
    void* context = nullptr;
};

DebugOutput& TheDebugOutput() {
    static DebugOutput output;
    return output;
}

bool StderrRequested() {
    const char* value = std::getenv(kStderrSwitch);
    return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}

}  // namespace

void DefaultDebugOutputSink(const char* text, void* /*context*/) {
    if (text != nullptr && StderrRequested()) std::fputs(text, stderr);
}

void OutputDebugStringA(const char* text) {
    if (text == nullptr) return;
    auto& output = TheDebugOutput();
    std::lock_guard<std::mutex> lock(output.mutex);
    if (output.sink != nullptr) {
        output.sink(text, output.context);
    } else {
        DefaultDebugOutputSink(text, nullptr);
    }
}

KXDEBUGSINK SetDebugOutputSink(KXDEBUGSINK sink, void* context, void** previousContext) {
    auto& output = TheDebugOutput();
    std::lock_guard<std::mutex> lock(output.mutex);
    if (previousContext != nullptr) *previousContext = output.context;
    const KXDEBUGSINK previous = output.sink;
    output.sink = sink;
    output.context = sink != nullptr ? context : nullptr;
    return previous;
}

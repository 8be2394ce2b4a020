#include "EngineReasons.h"

#include <cstring>

namespace {
constexpr const char kPrefix[] = "kxcore: ";
}

EngineReasons::EngineReasons() { previous_ = SetDebugOutputSink(&EngineReasons::Collect, this, &previousContext_); }

EngineReasons::~EngineReasons() { SetDebugOutputSink(previous_, previousContext_, nullptr); }

void EngineReasons::Collect(const char* text, void* context) {
    auto* self = static_cast<EngineReasons*>(context);
    if (text == nullptr) return;
    if (self->previous_ != nullptr) {
        self->previous_(text, self->previousContext_);
    } else {
        DefaultDebugOutputSink(text, nullptr);
    }
    if (std::strncmp(text, kPrefix, sizeof kPrefix - 1) != 0) return;
    std::string line(text + sizeof kPrefix - 1);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    // The collector may not fail the conversion it reports on.
    try {
        self->lines_.push_back(std::move(line));
    } catch (...) {
    }
}

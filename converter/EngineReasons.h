// Collects the engine's reasons ("kxcore: ..." lines of the debug output)
// while a document is finished and written, so the converter can tell the
// user why a file was not written or what a limit left out. Lines go on to
// the sink that was installed before, and that sink is back in place when
// the collector is gone.
#pragma once

#include <string>
#include <vector>

#include <kxplatform/debugapi.h>

class EngineReasons {
public:
    EngineReasons();
    ~EngineReasons();
    EngineReasons(const EngineReasons&) = delete;
    EngineReasons& operator=(const EngineReasons&) = delete;

    // The reasons so far, oldest first, without the prefix and line end.
    const std::vector<std::string>& Lines() const { return lines_; }
    // Forgets the reasons so far.
    void Clear() { lines_.clear(); }

private:
    static void Collect(const char* text, void* context);

    KXDEBUGSINK previous_ = nullptr;
    void* previousContext_ = nullptr;
    std::vector<std::string> lines_;
};

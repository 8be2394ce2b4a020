// Debug output strings reach the installed sink.
#include <kxplatform/debugapi.h>

#include <gtest/gtest.h>

#include <string>

namespace {

void Capture(const char* text, void* context) {
    *static_cast<std::string*>(context) += text;
}

TEST(DebugOutput, SinkCapturesEveryStringAndCanBeRestored) {
    std::string captured;
    void* previousContext = nullptr;
    const KXDEBUGSINK previous = SetDebugOutputSink(Capture, &captured, &previousContext);
    OutputDebugStringA("Bkw zoom: 2.000000\n");
    OutputDebugStringA(nullptr);
    OutputDebugStringA("Frw zoom is unavailable.\n");
    SetDebugOutputSink(previous, previousContext, nullptr);
    EXPECT_EQ(captured, "Bkw zoom: 2.000000\nFrw zoom is unavailable.\n");

    OutputDebugStringA("after restore\n");
    EXPECT_EQ(captured, "Bkw zoom: 2.000000\nFrw zoom is unavailable.\n");
}

}  // namespace

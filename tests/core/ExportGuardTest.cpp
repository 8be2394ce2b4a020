// The one guard of the C interface: exceptions become failure results and
// a failure's reason reaches the debug output once.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include <kxplatform/debugapi.h>

#include "KXStatus.h"
#include "exports/KXExportSupport.h"

namespace {

using kxexport::Guarded;
using kxexport::ResultOf;

struct CapturedDebugOutput {
    std::string text;
    void* previousContext = nullptr;
    KXDEBUGSINK previous = nullptr;

    CapturedDebugOutput() {
        previous = SetDebugOutputSink([](const char* line, void* self) {
            static_cast<CapturedDebugOutput*>(self)->text += line;
        }, this, &previousContext);
    }
    ~CapturedDebugOutput() { SetDebugOutputSink(previous, previousContext, nullptr); }
};

TEST(ExportGuard, ExceptionsBecomeTheFailureResultWithTheirReason) {
    CapturedDebugOutput debug;
    EXPECT_EQ(Guarded([]() -> int { throw std::runtime_error("pool exhausted"); }), 0);
    EXPECT_EQ(Guarded([]() -> int { throw std::bad_alloc(); }, -1), -1);
    EXPECT_EQ(Guarded([]() -> void* { throw 42; }), nullptr);
    Guarded([] { throw std::logic_error("void call"); });
    EXPECT_NE(debug.text.find("kxcore: pool exhausted\n"), std::string::npos);
    EXPECT_NE(debug.text.find("kxcore: void call\n"), std::string::npos);
    EXPECT_EQ(Guarded([] { return 7; }), 7);
}

TEST(ExportGuard, StatusBecomesOneOrTheFailureValue) {
    CapturedDebugOutput debug;
    EXPECT_EQ(ResultOf(KXStatus()), 1);
    EXPECT_TRUE(debug.text.empty());
    const KXStatus failed = KXStatus::Failure("block refers to itself");
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.Reason(), "block refers to itself");
    EXPECT_EQ(ResultOf(failed), 0);
    EXPECT_EQ(ResultOf(failed, -1), -1);
    EXPECT_EQ(debug.text, "kxcore: block refers to itself\nkxcore: block refers to itself\n");

    KXResult<int> value(5);
    ASSERT_TRUE(value);
    EXPECT_EQ(value.Value(), 5);
    KXResult<int> none(KXStatus::Failure("no such block"));
    EXPECT_FALSE(none);
    EXPECT_EQ(none.Status().Reason(), "no such block");
}

}  // namespace

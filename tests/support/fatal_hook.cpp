// The throwing end-of-program hook behind EXPECT_FATAL: the end of program prints its report and
// throws the stored code back to the test instead of ending the process.
#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "tests/support/test_support.h"

namespace {

[[noreturn]] void ThrowStoredCode() { throw FatalEndForTests{errorCode}; }

}  // namespace

ScopedFatalHook::ScopedFatalHook() { SetEndProgramHookForTests(ThrowStoredCode); }

ScopedFatalHook::~ScopedFatalHook() { SetEndProgramHookForTests(nullptr); }

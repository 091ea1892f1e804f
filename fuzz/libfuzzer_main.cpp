// The libFuzzer entry of one fuzz target. The fuzz build compiles this file once per target with
// STAKKO_FUZZ_TARGET naming it; the targets themselves are the same code the replay runs.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_target.h"

#ifndef STAKKO_FUZZ_TARGET
#error "STAKKO_FUZZ_TARGET must name the fuzz target"
#endif

namespace {

const FuzzTarget& Target() {
  static const FuzzTarget* target = FindFuzzTarget(STAKKO_FUZZ_TARGET);
  if (target == nullptr) {
    std::fprintf(stderr, "no fuzz target named %s\n", STAKKO_FUZZ_TARGET);
    std::abort();
  }
  return *target;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Target().run(data, size);
  return 0;
}

// A fake millisecond clock over the platform seam: time moves only when something sleeps (by the
// slept amount) and, when asked, by a fixed step on every read.
// Only one thread at a time may read or sleep on it.
#include "platform/platform_ops.h"
#include "tests/support/test_support.h"

namespace {

struct FakeClockState {
  u32 nowMs = 0;
  u32 stepPerReadMs = 0;
  u64 sleptNs = 0;
  u64 pendingNs = 0;  // slept time not yet a whole millisecond
  u32 (*savedTicks)() = nullptr;
  void (*savedSleep)(u64, u64) = nullptr;
};

FakeClockState fakeClock;

u32 FakeTicks() {
  const u32 now = fakeClock.nowMs;
  fakeClock.nowMs += fakeClock.stepPerReadMs;
  return now;
}

void FakeSleep(u64 seconds, u64 nanoseconds) {
  const u64 total = seconds * 1000000000u + nanoseconds;
  fakeClock.sleptNs += total;
  fakeClock.pendingNs += total;
  fakeClock.nowMs += static_cast<u32>(fakeClock.pendingNs / 1000000u);
  fakeClock.pendingNs %= 1000000u;
}

}  // namespace

ScopedFakeClock::ScopedFakeClock(u32 startMs, u32 stepPerReadMs) {
  fakeClock = FakeClockState{startMs, stepPerReadMs, 0, 0, Platform().ticksMs, Platform().sleepNs};
  Platform().ticksMs = FakeTicks;
  Platform().sleepNs = FakeSleep;
}

ScopedFakeClock::~ScopedFakeClock() {
  Platform().ticksMs = fakeClock.savedTicks;
  Platform().sleepNs = fakeClock.savedSleep;
}

u32 ScopedFakeClock::Now() const { return fakeClock.nowMs; }

u64 ScopedFakeClock::SleptNs() const { return fakeClock.sleptNs; }

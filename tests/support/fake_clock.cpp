// A fake millisecond clock over the platform seam: time moves only when something sleeps (by the
// slept amount) and, when asked, by a fixed step on every read. Reads and sleeps hold a lock, so a
// worker thread (the network session's) may use it beside the test's thread.
#include <mutex>

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
std::mutex fakeClockLock;

u32 FakeTicks() {
  const std::lock_guard<std::mutex> hold(fakeClockLock);
  const u32 now = fakeClock.nowMs;
  fakeClock.nowMs += fakeClock.stepPerReadMs;
  return now;
}

void FakeSleep(u64 seconds, u64 nanoseconds) {
  const std::lock_guard<std::mutex> hold(fakeClockLock);
  const u64 total = seconds * 1000000000u + nanoseconds;
  fakeClock.sleptNs += total;
  fakeClock.pendingNs += total;
  fakeClock.nowMs += static_cast<u32>(fakeClock.pendingNs / 1000000u);
  fakeClock.pendingNs %= 1000000u;
}

}  // namespace

ScopedFakeClock::ScopedFakeClock(u32 startMs, u32 stepPerReadMs) {
  const std::lock_guard<std::mutex> hold(fakeClockLock);
  fakeClock = FakeClockState{startMs, stepPerReadMs, 0, 0, Platform().ticksMs, Platform().sleepNs};
  Platform().ticksMs = FakeTicks;
  Platform().sleepNs = FakeSleep;
}

ScopedFakeClock::~ScopedFakeClock() {
  const std::lock_guard<std::mutex> hold(fakeClockLock);
  Platform().ticksMs = fakeClock.savedTicks;
  Platform().sleepNs = fakeClock.savedSleep;
}

u32 ScopedFakeClock::Now() const {
  const std::lock_guard<std::mutex> hold(fakeClockLock);
  return fakeClock.nowMs;
}

u64 ScopedFakeClock::SleptNs() const {
  const std::lock_guard<std::mutex> hold(fakeClockLock);
  return fakeClock.sleptNs;
}

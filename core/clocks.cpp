// Clocks and waiting over the platform's tick source and sleep.
#include "core/clocks.h"

#include "core/runtime_globals.h"
#include "platform/platform_ops.h"

f64 GetTicksMs() { return static_cast<f64>(Platform().ticksMs()); }

f32 GetFrameTime() {
  const f64 difference = frameClockMs - previousFrameClockMs;
  if (difference <= 0.0) return 1.0f;
  return static_cast<f32>(difference);
}

f32 GetElapsedMs() { return static_cast<f32>(GetTicksMs() - startClockMs); }

void BusyWaitMs(f32 ms) {
  const f32 target = GetElapsedMs() + ms;
  while (GetElapsedMs() < target) {
  }
}

void SleepMs(u32 ms) { Platform().sleepNs(ms / 1000u, static_cast<u64>(ms % 1000u) * 1000000u); }

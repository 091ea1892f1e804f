// The runtime's one millisecond clock and its two ways of waiting. Every time measurement (frame
// pacing, frame time, elapsed time, program timers, the start-up seed) reads GetTicksMs, which
// reads the platform's tick source, so tests can drive time themselves.
#pragma once

#include "core/types.h"

f64 GetTicksMs();        // the tick count as an unsigned 32-bit value, in f64
f32 GetFrameTime();      // current minus previous frame clock; 1.0 when that is 0 or less
f32 GetElapsedMs();      // GetTicksMs minus the start clock, narrowed to f32
void BusyWaitMs(f32 ms); // spins on the clock, without sleeping, until ms have passed
void SleepMs(u32 ms);    // one sleep of ms; an interrupted sleep is not resumed

// Frame pacing: the frame interval, the due time of the next frame, and draining the window
// events, in which a window close or an Escape key-down asks to quit. The wait itself is the end
// of OpenGLRainbows::PresentFrame: it sleeps through the platform seam until 3 ms before the due
// time, then spins on the clock, so a frame is released on the first reading past it.
#pragma once

#include "core/types.h"

// 1000 / fps milliseconds; 2 ms for fps 0 or below.
f64 FrameIntervalMs(i32 fps);

// The due time after a frame released at `now`: one interval on, and further on by whole
// intervals while it is still behind now, so late frames are dropped, never made up.
f64 NextDueTime(f64 due, f64 intervalMs, f64 now);

// Drains the window events: 0 as soon as one asks to quit, 1 once the queue is empty. Every
// other event is dropped (key state is read from SDL's key table, not from events).
i32 PollQuitEvent();

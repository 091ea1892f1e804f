// Presenting a frame and holding the frame rate.
#include "media/frame_pacing.h"

#include <SDL.h>

#include <cmath>

#include "core/clocks.h"
#include "core/float_convert.h"
#include "media/graphics_device.h"
#include "media/render_target.h"

namespace {

// A frame due further ahead than this is slept for (all but the last few milliseconds).
constexpr f64 kSleepWhenAheadMs = 5.0;
// How long before the due time the sleep ends, to be spun out.
constexpr i32 kSpinMs = 3;

}  // namespace

f64 FrameIntervalMs(i32 fps) { return fps > 0 ? 1000.0 / fps : 2.0; }

f64 NextDueTime(f64 due, f64 intervalMs, f64 now) {
  due += intervalMs;
  if (due < now) {
    // One division in place of stepping interval by interval, which a tiny interval would make
    // take billions of steps.
    due += std::floor((now - due) / intervalMs) * intervalMs;
    if (due < now) due += intervalMs;
  }
  return due;
}

i32 PollQuitEvent() {
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    if (event.type == SDL_QUIT) return 0;
    if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) return 0;
  }
  return 1;
}

f64 OpenGLRainbows::PresentFrame() {
  EndOffscreenDraw(this);
  RenderTarget& rt = GetRenderTarget();
  rt.Present();
  if (screens[0].height != 0) {
    DrawBackground(screens[0]);
  } else {
    rt.ClearColour();
  }
  rt.ClearDepth();

  const f64 drawingEnded = GetTicksMs();
  for (;;) {
    if (PollQuitEvent() == 0) return 0.0;
    f64 now = GetTicksMs();
    // The due time can only lie more than an interval ahead when the tick counter went back (it
    // wraps after 49.7 days): start pacing afresh rather than sleep until the old due time.
    if (nextFrameMs - now > frameMs + kSleepWhenAheadMs) nextFrameMs = now + frameMs;
    if (now + kSleepWhenAheadMs < nextFrameMs) {
      const i32 gap = TruncToI32(nextFrameMs - now);
      if (gap > kSleepWhenAheadMs) {
        SleepMs(static_cast<u32>(gap - kSpinMs));
        now += gap;  // still not past the due time: the clock is read afresh
      }
    }
    if (now > nextFrameMs) {
      nextFrameMs = NextDueTime(nextFrameMs, frameMs, now);
      return (now - drawingEnded) + 1.0;
    }
  }
}

void OpenGLRainbows::SetFrameRate(i32 fps) { frameMs = FrameIntervalMs(fps); }

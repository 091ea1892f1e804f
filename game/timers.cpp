// Named timers over the global timer list and timer-event list.
#include "game/timers.h"

#include "core/clocks.h"
#include "core/float_convert.h"
#include "core/int_clamp.h"
#include "runtime/frame_step.h"
#include "core/text_functions.h"
#include "game/game_globals.h"

namespace game {

namespace {

// Index of the first timer named `name`, or -1.
i32 FindTimer(const DynString& name) {
  for (i32 i = 0; i < timers.dim[0]; ++i) {
    if (DynStringEquals(timers.At(i).name, name) == 1) return i;
  }
  return -1;
}

}  // namespace

void AddTimer(const DynString& name, i32 interval, i32 value, i32 once) {
  NamedTimer timer;
  timer.name = name;
  timer.interval = interval;
  timer.nextDue = ClockAfter(now, interval);
  timer.once = once;
  timer.value = value;
  timers.Append(timer);
}

void SetTimer(const DynString& name, i32 interval, i32 value, i32 once) {
  const i32 index = FindTimer(name);
  if (index < 0) return;
  NamedTimer& timer = timers.At(index);
  if (interval != -1) {
    timer.interval = interval;
    timer.nextDue = ClockAfter(now, interval);
  }
  timer.value = value;
  timer.once = once;
}

void RemoveTimer(const DynString& name) {
  const i32 index = FindTimer(name);
  if (index >= 0) timers.RemoveAt(index);
}

void UpdateTimers() {
  // The count is read again each step: a once timer removes itself, and the timer that moves
  // into its place waits for the next pass.
  for (i32 i = 0; i < timers.dim[0]; ++i) {
    NamedTimer& timer = timers.At(i);
    if (timer.nextDue > now) continue;
    timerEvents.Append(timer.value);
    if (timer.once == 1) {
      const DynString name = timer.name;  // the removal destroys the record it names
      RemoveTimer(name);
    } else {
      timer.nextDue = ClockAfter(now, timer.interval);
    }
  }
}

i32 ClockAfter(i32 base, i32 ms) { return ClampToI32(static_cast<i64>(base) + ms); }

i32 ReadGameClock() { return TruncToI32(GetElapsedMs()); }

void EndFrame() {
  FlipFrame();
  now = ReadGameClock();
  UpdateTimers();
}

}  // namespace game

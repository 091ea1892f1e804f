// Named millisecond timers on the game's clock. Each pass of the main loop runs UpdateTimers once;
// the values of the timers that fire are appended to the timer-event list, which the play rules
// read in the same pass and the frame overlay empties at its end.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

namespace game {

// Appends {name, interval, now + interval, once, value}; a timer of the same name may exist.
void AddTimer(const DynString& name, i32 interval, i32 value, i32 once);
// The first timer of that name: a new interval (unless it is -1) counted from now, new value and
// once. No timer of that name: nothing.
void SetTimer(const DynString& name, i32 interval, i32 value, i32 once);
// Removes the first timer of that name; later timers move down one place.
void RemoveTimer(const DynString& name);
// Fires every due timer: its value goes to the events; a once timer is removed, any other is due
// again interval ms from now (a late timer does not catch up).
void UpdateTimers();
// Frame step, clock and timers in one call.
void EndFrame();

// The game's clock from the runtime's elapsed time.
i32 ReadGameClock();
// A time `ms` after `base` on the game's clock, held at the ends of the i32 range so that a clock
// that has run for weeks cannot overflow.
i32 ClockAfter(i32 base, i32 ms);

}  // namespace game

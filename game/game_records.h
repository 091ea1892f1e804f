// The records of the game's three lists: named timers, effect particles and high-score entries.
// Their fresh value (all numbers 0, empty texts) is what the runtime's arrays give a new element.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

namespace game {

// A millisecond timer on the game's clock; when it fires it appends `value` to the timer events.
struct NamedTimer {
  DynString name;
  i32 interval = 0;  // ms between firings
  i32 nextDue = 0;   // ms on the game's clock
  i32 once = 0;      // 1: removed when it fires
  i32 value = 0;     // the word appended to the timer events
};

// A sprite flying across the screen for a while after a row is cleared.
struct EffectParticle {
  i32 sprite = 0;
  f32 x = 0;
  f32 y = 0;
  f32 speed = 0;    // pixels per frame
  i32 angle = 0;    // degrees: 0 up, growing clockwise
  i32 endTime = 0;  // ms on the game's clock; the particle lives while now is below it
  f32 fall = 0;     // added to y each frame
  f32 gravity = 0;  // added to fall each frame
};

// One line of the high-score table.
struct HiscoreEntry {
  i32 score = 0;
  DynString name;  // eight characters as entered ("." an unedited position); defaults are shorter
  i32 level = 0;   // stored as shown: the level + 1
};

}  // namespace game

// The release latch per key-table entry, over the runtime's key query.
#include "game/key_latches.h"

#include "runtime/key_queries.h"
#include "game/game_data.h"
#include "game/game_globals.h"

namespace game {

namespace {

i32 KeyTablePosition(i32 code) {
  for (i32 p = 0; p < kKeyCount; ++p) {
    if (kKeyTable[p] == code) return p;
  }
  return -1;
}

}  // namespace

i32 KeyReleased(i32 code) {
  const i32 p = KeyTablePosition(code);
  if (p < 0) return 0;
  i32& latch = *keyLatches.At(p, 0);
  if (IsKeyDown(code) == 1) latch = 1;
  if (latch == 1 && IsKeyDown(code) == 0) {  // the buttons are read again
    latch = 0;
    return 1;
  }
  return 0;
}

}  // namespace game

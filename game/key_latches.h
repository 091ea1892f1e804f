// Key releases: a key of the key table acts once when it is let go. Any call made while the key
// is down latches it; the first call after it is up reports the release and clears the latch. So
// two callers asking for one key in one pass share one report, and a key nobody asks about in a
// pass is not latched in that pass.
#pragma once

#include "core/types.h"

namespace game {

// 1 once per release of a key-table key, else 0. A code outside the table answers 0 without
// reading the buttons.
i32 KeyReleased(i32 code);

}  // namespace game

// The end of every pass of the main loop, in every state: the pass's timer events are discarded,
// the frame time is taken, the frame statistics are drawn when switched on, and the two volume
// keys step the music volume by 0.1.
#pragma once

#include "core/types.h"

namespace game {

void UpdateFrameOverlay();

// One press of a volume key. The step is taken in double on the widened f32 and stored as the
// nearest f32, so the reachable volumes run from about 1.6e-8 (0.1f - 0.1) to 0.9f, which
// compares above 0.9 and so is the top. Returns the new volume (unchanged at either end).
f32 VolumeStepUp(f32 volume);
f32 VolumeStepDown(f32 volume);

}  // namespace game

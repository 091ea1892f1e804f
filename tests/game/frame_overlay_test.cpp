// The end-of-pass step: events emptied, frame time, hidden statistics, and the volume keys with
// the reachable volumes.
#include "game/frame_overlay.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/runtime_globals.h"
#include "game/game_data.h"
#include "game/game_globals.h"
#include "media/music.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

// Presses `step` from the default volume until nothing changes: the end value and the count.
std::pair<f32, i32> PressUntilStuck(f32 (*step)(f32)) {
  f32 v = kDefaultMusicVolume;
  i32 presses = 0;
  for (; step(v) != v; ++presses) v = step(v);
  return {v, presses};
}

TEST_F(GameTest, VolumeStepsStopAtTheirEnds) {
  // Up: 0.4 ... and a sixth step to the float just above 0.9, which compares above 0.9.
  const auto [top, ups] = PressUntilStuck(VolumeStepUp);
  EXPECT_EQ(6, ups);
  EXPECT_TRUE(static_cast<f64>(top) > 0.9 && top < 0.9000002f) << top;
  // Down: about 0.2, 0.1, then about 1.64e-8, which compares below 0.1.
  const auto [bottom, downs] = PressUntilStuck(VolumeStepDown);
  EXPECT_EQ(3, downs);
  EXPECT_TRUE(bottom > 1.63e-8f && bottom < 1.65e-8f) << bottom;
  EXPECT_EQ(1.0f, VolumeStepUp(0.9f));  // the float 0.9 lies below 0.9 and still steps
}

TEST_F(GameTest, VolumeKeysActOnReleaseAndDownWaitsForAPassWithoutUp) {
  // Per pass: keys held; the volume after the pass.
  // Per pass: buttons held; the volume after the pass, and the one the music was given (-1: none
  // yet). Both held together would end the program in the frame step; here no frame step runs.
  const struct {
    u32 held;
    f32 volume, music;
  } passes[] = {{kVolumeUpButton, 0.3f, -1.0f},
                {0, 0.4f, 0.4f},
                {kVolumeUpButton | kVolumeDownButton, 0.4f, 0.4f},
                {0, 0.5f, 0.5f},
                {0, 0.4f, 0.4f}};  // both released together: up first, down one pass later
  for (const auto& p : passes) {
    runtime.Hold(p.held);
    UpdateFrameOverlay();
    EXPECT_EQ(p.volume, musicVolume);
    EXPECT_EQ(p.music, StoredMusicVolume());
  }
  // At the top a release changes nothing.
  musicVolume = PressUntilStuck(VolumeStepUp).first;
  runtime.Hold(kVolumeUpButton);
  UpdateFrameOverlay();
  runtime.Hold(0);
  UpdateFrameOverlay();
  EXPECT_EQ(PressUntilStuck(VolumeStepUp).first, musicVolume);
  EXPECT_EQ(0.4f, StoredMusicVolume());
}

TEST_F(GameTest, OverlayEmptiesEventsTakesTheFrameTimeAndHidesStatistics) {
  timerEvents.Append(0);
  frameClockMs = 1040;
  previousFrameClockMs = 1000;
  UpdateFrameOverlay();
  EXPECT_EQ(0, timerEvents.dim[0]);
  EXPECT_EQ(40.0f, frameTime);
  EXPECT_EQ(0, PixelsUnlike(0, 0, 320, 240, 0));
  // Switched on, the two lines come in font 0 at the top left; font 1 is current again after.
  statisticsSwitch = 1;
  UpdateFrameOverlay();
  frameClockMs = previousFrameClockMs = 0;
  EXPECT_GT(PixelsUnlike(0, 0, 8 * 21, 8, 0), 0);
  EXPECT_GT(PixelsUnlike(0, 10, 8 * 21, 8, 0), 0);
  EXPECT_EQ(0, PixelsUnlike(0, 20, 320, 220, 0));
  EXPECT_EQ(1, currentFont);
}

}  // namespace

// The end-of-pass step: events emptied, frame time, the hidden statistics, and the volume keys
// with their reachable range.
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/runtime_globals.h"
#include "game/frame_overlay.h"
#include "game/game_data.h"
#include "game/game_globals.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

// One press and release of a key over two passes of the overlay.
void TapInOverlay(i32 code) {
  runtime.Press(code);
  UpdateFrameOverlay();
  runtime.Release(code);
  UpdateFrameOverlay();
}

TEST_F(GameTest, OverlayEmptiesEventsAndTakesTheFrameTime) {
  timerEvents.Append(0);
  timerEvents.Append(0);
  frameClockMs = 1033;
  previousFrameClockMs = 1000;
  UpdateFrameOverlay();
  EXPECT_EQ(0, timerEvents.dim[0]);
  EXPECT_EQ(33.0f, frameTime);
  EXPECT_TRUE(runtime.texts.empty());  // the statistics switch is off
  frameClockMs = previousFrameClockMs = 0;
}

TEST_F(GameTest, StatisticsPrintInFontZeroWhenSwitchedOn) {
  statisticsSwitch = 1;
  frameClockMs = 1040;
  previousFrameClockMs = 1000;
  UpdateFrameOverlay();
  const std::vector<TextPrint> expected = {{"Frames per Second: 25", 0, 0, 0},
                                           {"Time per Frame   : 40", 0, 10, 0}};
  EXPECT_EQ(expected, runtime.texts);
  EXPECT_EQ(1, runtime.currentFont);
  frameClockMs = previousFrameClockMs = 0;
}

// The volume reached from the default by pressing up until nothing changes, and the number of
// presses that changed it.
std::pair<f32, i32> TopVolume() {
  f32 v = kDefaultMusicVolume;
  i32 presses = 0;
  while (VolumeStepUp(v) != v) {
    v = VolumeStepUp(v);
    ++presses;
  }
  return {v, presses};
}

TEST_F(GameTest, VolumeStepsStopAtTheirEnds) {
  // Up from the default: 0.4, 0.5, ... and a sixth step to the float just above 0.9, which
  // compares above 0.9 as a double and so is the top.
  const auto [top, ups] = TopVolume();
  EXPECT_EQ(6, ups);
  EXPECT_GT(static_cast<f64>(top), 0.9);
  EXPECT_LT(top, 0.9000002f);
  // Down from the default: about 0.2, about 0.1, then about 1.64e-8, below 0.1 and the bottom.
  f32 v = kDefaultMusicVolume;
  i32 downs = 0;
  while (VolumeStepDown(v) != v) {
    v = VolumeStepDown(v);
    ++downs;
  }
  EXPECT_EQ(3, downs);
  EXPECT_GT(v, 1.63e-8f);
  EXPECT_LT(v, 1.65e-8f);
  // A value just below 0.9 (a float 0.9 stored in "Config.dat") still steps up, to 1.0.
  EXPECT_EQ(1.0f, VolumeStepUp(0.9f));
}

TEST_F(GameTest, VolumeKeysStepTheMusicVolumeOnRelease) {
  TapInOverlay(kKeyVolumeUp);
  EXPECT_EQ(0.4f, musicVolume);
  EXPECT_EQ(std::vector<f32>{0.4f}, runtime.musicVolumes);
  TapInOverlay(kKeyVolumeDown);
  TapInOverlay(kKeyVolumeDown);
  EXPECT_FLOAT_EQ(0.2f, musicVolume);
  EXPECT_EQ(3u, runtime.musicVolumes.size());
  musicVolume = TopVolume().first;
  runtime.musicVolumes.clear();
  TapInOverlay(kKeyVolumeUp);  // at the top: no change, no call
  EXPECT_EQ(TopVolume().first, musicVolume);
  EXPECT_TRUE(runtime.musicVolumes.empty());
}

TEST_F(GameTest, VolumeDownWaitsForAPassWithoutAVolumeUpRelease) {
  runtime.Press(kKeyVolumeUp);
  runtime.Press(kKeyVolumeDown);
  UpdateFrameOverlay();  // both latched
  runtime.Release(kKeyVolumeUp);
  runtime.Release(kKeyVolumeDown);
  UpdateFrameOverlay();  // up reports; down is not asked
  EXPECT_EQ(0.4f, musicVolume);
  UpdateFrameOverlay();  // now down reports its release
  EXPECT_EQ(0.3f, musicVolume);
  EXPECT_EQ((std::vector<f32>{0.4f, 0.3f}), runtime.musicVolumes);
}

}  // namespace

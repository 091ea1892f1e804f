// Key releases: one report per release, shared between callers of one pass, and no device read
// for codes outside the key table.
#include <gtest/gtest.h>

#include "game/game_data.h"
#include "game/game_globals.h"
#include "game/key_latches.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

TEST_F(GameTest, AHeldKeyReportsOnceAfterItsRelease) {
  // Each step: whether the key is held during the call, and the answer.
  const struct {
    bool held;
    i32 expected;
  } steps[] = {{false, 0}, {true, 0}, {true, 0}, {false, 1}, {false, 0}, {true, 0}, {false, 1}};
  i32 k = 0;
  for (const auto& step : steps) {
    if (step.held) {
      runtime.Press(kKeyAction);
    } else {
      runtime.Release(kKeyAction);
    }
    EXPECT_EQ(step.expected, KeyReleased(kKeyAction)) << "step " << k++;
  }
}

TEST_F(GameTest, TwoCallersInOnePassShareOneReport) {
  runtime.Press(kKeyLeft);
  EXPECT_EQ(0, KeyReleased(kKeyLeft));
  runtime.Release(kKeyLeft);
  EXPECT_EQ(1, KeyReleased(kKeyLeft));
  EXPECT_EQ(0, KeyReleased(kKeyLeft));
}

TEST_F(GameTest, APressNobodyAsksAboutIsNotSeen) {
  runtime.Press(kKeyPause);
  runtime.Release(kKeyPause);
  EXPECT_EQ(0, KeyReleased(kKeyPause));
  // Latches are per key: another key's press does not report this one.
  runtime.Press(kKeyRight);
  EXPECT_EQ(0, KeyReleased(kKeyRight));
  EXPECT_EQ(0, KeyReleased(kKeyLeft));
  EXPECT_EQ(1, *keyLatches.At(1, 0));
  EXPECT_EQ(0, *keyLatches.At(0, 0));
}

TEST_F(GameTest, CodesOutsideTheKeyTableAnswerZeroWithoutReading) {
  for (i32 code : {0, 1, 57, 202, 255, -203}) {
    runtime.Press(code);
    EXPECT_EQ(0, KeyReleased(code)) << code;
  }
  EXPECT_EQ(0, runtime.TotalKeyReads());
  // A held table key is read twice per call: once to latch, once more for the release.
  runtime.Press(44);
  KeyReleased(44);
  EXPECT_EQ(2, runtime.keyReads[44]);
}

}  // namespace

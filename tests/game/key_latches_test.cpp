// Key releases: one report per release, shared by callers of one pass, unseen when nobody asks,
// and no device read for codes outside the key table.
#include "game/key_latches.h"

#include <gtest/gtest.h>

#include "game/game_data.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

TEST_F(GameTest, AKeyReportsOnceAfterItsRelease) {
  // Per call: held during the call, and the answer. Two calls in a row stand for two callers.
  const std::pair<bool, i32> steps[] = {{false, 0}, {true, 0}, {true, 0},  {false, 1},
                                        {false, 0}, {true, 0}, {false, 1}, {false, 0}};
  for (const auto& [held, expected] : steps) {
    runtime.Hold(held ? kActionButton : 0);
    EXPECT_EQ(expected, KeyReleased(kKeyAction));
  }
  // A press and release between two calls is not seen; latches are per key.
  runtime.Hold(kRightButton);
  EXPECT_EQ(0, KeyReleased(kKeyRight));
  runtime.Hold(0);
  EXPECT_EQ(0, KeyReleased(kKeyLeft));
  EXPECT_EQ(1, KeyReleased(kKeyRight));
}

TEST_F(GameTest, CodesOutsideTheKeyTableAnswerZeroWithoutReading) {
  // Every button down, the two volume buttons included (which Escape's code 1 answers).
  runtime.Hold((1u << kButtonBitCount) - 1);
  for (i32 code : {0, 1, 57, 202, -203}) EXPECT_EQ(0, KeyReleased(code)) << code;
  EXPECT_EQ(0u, runtime.buttons->reads);
}

}  // namespace

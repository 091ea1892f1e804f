// Named timers: due times, firing once per pass, removal and the pass a removal skips, and the
// frame-end step over the virtual clock.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/runtime_globals.h"
#include "game/game_globals.h"
#include "game/timers.h"
#include "tests/game/game_fixture.h"
#include "tests/support/test_support.h"

using namespace game;

namespace {

DynString Name(const char* text) { return DynString::FromCString(text); }

// The events of one pass at the given clock, then emptied as the end of the pass does.
std::vector<i32> PassAt(i32 clock) {
  now = clock;
  UpdateTimers();
  std::vector<i32> events;
  for (i32 i = 0; i < timerEvents.dim[0]; ++i) events.push_back(timerEvents.At(i));
  timerEvents.Redim(0);
  return events;
}

using Events = std::vector<i32>;

TEST_F(GameTest, TimersFireWhenDueAndCountFromTheFiringPass) {
  struct Case {
    const char* what;
    i32 interval;
    std::vector<i32> clocks;
    std::vector<Events> expected;
  };
  const Case cases[] = {
      {"due at now + interval, not before", 100, {1099, 1100, 1150, 1199, 1200},
       {{}, {7}, {}, {}, {7}}},
      {"a late timer fires once and counts from now", 100, {1500, 1550, 1600}, {{7}, {}, {7}}},
      {"interval 0 fires on every pass", 0, {1000, 1000, 1001}, {{7}, {7}, {7}}},
      {"a negative interval fires on every pass", -5, {1000, 1000}, {{7}, {7}}},
  };
  for (const Case& c : cases) {
    InitGameGlobals();
    now = 1000;
    AddTimer(Name("t"), c.interval, 7, 0);
    for (std::size_t k = 0; k < c.clocks.size(); ++k) {
      EXPECT_EQ(c.expected[k], PassAt(c.clocks[k])) << c.what << ", pass " << k;
    }
  }
}

TEST_F(GameTest, SetAndRemoveActOnTheFirstTimerOfAName) {
  now = 0;
  AddTimer(Name("a"), 100, 1, 0);
  AddTimer(Name("b"), 100, 2, 0);
  AddTimer(Name("a"), 100, 3, 0);
  now = 50;
  SetTimer(Name("a"), 10, 4, 0);   // due at 60
  SetTimer(Name("b"), -1, 5, 0);   // interval and due time kept
  SetTimer(Name("none"), 1, 1, 1);  // nothing
  EXPECT_EQ(Events({4}), PassAt(60));
  EXPECT_EQ(Events({4, 5, 3}), PassAt(100));  // "a" is due again 10 ms after it fired
  RemoveTimer(Name("a"));
  RemoveTimer(Name("none"));
  ASSERT_EQ(2, timers.dim[0]);
  EXPECT_EQ(5, timers.At(0).value);
  EXPECT_EQ(3, timers.At(1).value);
  EXPECT_EQ(100, timers.At(0).interval);
}

TEST_F(GameTest, NamesCompareAsWholeTexts) {
  AddTimer(Name("block"), 0, 1, 0);
  RemoveTimer(Name("bloc"));
  RemoveTimer(Name("blocks"));
  EXPECT_EQ(1, timers.dim[0]);
  RemoveTimer(Name("block"));
  EXPECT_EQ(0, timers.dim[0]);
}

TEST_F(GameTest, ARemovedOnceTimerMakesTheNextOneWaitAPass) {
  now = 0;
  AddTimer(Name("once"), 10, 1, 1);
  AddTimer(Name("next"), 10, 2, 0);
  AddTimer(Name("last"), 10, 3, 0);
  EXPECT_EQ(Events({1, 3}), PassAt(10));  // "next" moved into place 0 and was passed over
  EXPECT_EQ(Events({2}), PassAt(11));
  ASSERT_EQ(2, timers.dim[0]);
  EXPECT_STREQ("next", timers.At(0).name.CStr());
}

TEST_F(GameTest, TimesNearTheEndOfTheClockDoNotOverflow) {
  now = 2147483000;
  AddTimer(Name("t"), 1000, 1, 0);
  EXPECT_EQ(2147483647, timers.At(0).nextDue);
  EXPECT_EQ(-2147483648, ClockAfter(-2147483000, -1000));
  EXPECT_EQ(15, ClockAfter(10, 5));
}

TEST_F(GameTest, EndFrameStepsReadsTheClockAndFiresTimers) {
  ScopedFakeClock clock(5000);
  startClockMs = 1000;
  now = 3000;
  AddTimer(Name("t"), 1000, 9, 0);
  EndFrame();
  EXPECT_EQ(1, runtime.flips);
  EXPECT_EQ(4000, now);
  ASSERT_EQ(1, timerEvents.dim[0]);
  EXPECT_EQ(9, timerEvents.At(0));
  startClockMs = 0;
}

}  // namespace

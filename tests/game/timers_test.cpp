// Named timers: due times, one firing per pass, the first of a name, and the pass a removal
// skips; the frame-end step over the virtual clock.
#include "game/timers.h"

#include <gtest/gtest.h>

#include <vector>

#include "game/game_globals.h"
#include "tests/game/game_fixture.h"

using namespace game;

namespace {

using Events = std::vector<i32>;

DynString Name(const char* text) { return DynString::FromCString(text); }

// The events of one pass at the clock, emptied again as the end of a pass does.
Events PassAt(i32 clock) {
  now = clock;
  UpdateTimers();
  Events events(timerEvents.data, timerEvents.data + timerEvents.dim[0]);
  timerEvents.Redim(0);
  return events;
}

TEST_F(GameTest, TimersFireWhenDueAndCountFromTheFiringPass) {
  const struct {
    i32 interval;
    Events clocks, fired;  // fired: 1 when the pass at that clock fired
  } cases[] = {
      {100, {1099, 1100, 1150, 1200}, {0, 1, 0, 1}},
      {100, {1500, 1550, 1600}, {1, 0, 1}},  // late: once, and counted from now
      {0, {1000, 1000, 1001}, {1, 1, 1}},    // 0 or below: every pass
      {-5, {1000, 1000}, {1, 1}},
  };
  for (const auto& c : cases) {
    InitGameGlobals();
    now = 1000;
    AddTimer(Name("t"), c.interval, 7, 0);
    for (std::size_t k = 0; k < c.clocks.size(); ++k) {
      EXPECT_EQ(c.fired[k] ? Events{7} : Events{}, PassAt(c.clocks[k])) << c.interval << "/" << k;
    }
  }
}

TEST_F(GameTest, NameOperationsActOnTheFirstTimerOfThatName) {
  now = 0;
  AddTimer(Name("a"), 100, 1, 0);
  AddTimer(Name("b"), 100, 2, 0);
  AddTimer(Name("a"), 100, 3, 0);
  now = 50;
  SetTimer(Name("a"), 10, 4, 0);  // due at 60, then every 10 ms
  SetTimer(Name("b"), -1, 5, 0);  // interval and due time kept
  SetTimer(Name("bb"), 1, 1, 1);  // no such timer
  EXPECT_EQ(Events({4}), PassAt(60));
  EXPECT_EQ(Events({4, 5, 3}), PassAt(100));
  RemoveTimer(Name("a"));
  RemoveTimer(Name("c"));
  ASSERT_EQ(2, timers.dim[0]);
  EXPECT_EQ(5, timers.At(0).value);
  EXPECT_EQ(3, timers.At(1).value);
}

TEST_F(GameTest, ARemovedOnceTimerMakesTheNextOneWaitAPass) {
  now = 0;
  AddTimer(Name("once"), 10, 1, 1);
  AddTimer(Name("next"), 10, 2, 0);
  AddTimer(Name("last"), 10, 3, 0);
  EXPECT_EQ(Events({1, 3}), PassAt(10));
  EXPECT_EQ(Events({2}), PassAt(11));
  EXPECT_EQ(2, timers.dim[0]);
}

}  // namespace

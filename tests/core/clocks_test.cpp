// Clocks and waiting, driven by the fake clock.
#include <vector>

#include "core/clocks.h"
#include "core/runtime_globals.h"
#include "core/threads.h"
#include "platform/platform_ops.h"
#include "tests/support/test_support.h"

namespace {

class ClocksTest : public testing::Test {
 protected:
  void SetUp() override { ResetRuntimeGlobalsForTests(); }
  void TearDown() override {
    ResetRuntimeGlobalsForTests();
    ResetPlatformOps();
  }
};

TEST_F(ClocksTest, TicksAreUnsigned) {
  ScopedFakeClock clock(0xFFFFFFFFu);
  EXPECT_EQ(4294967295.0, GetTicksMs());
  clock.Advance(1);  // wraps to 0
  EXPECT_EQ(0.0, GetTicksMs());
}

TEST_F(ClocksTest, FrameTime) {
  const struct {
    f64 current;
    f64 previous;
    f32 expected;
  } rows[] = {
      {1000, 1000, 1.0f},   // same millisecond: never 0
      {1000, 1001, 1.0f},   // clock went back
      {1033, 1000, 33.0f},
      {1000.5, 1000, 0.5f},
      {4294967295.0, 0, 4294967296.0f},
  };
  for (const auto& row : rows) {
    frameClockMs = row.current;
    previousFrameClockMs = row.previous;
    EXPECT_EQ(row.expected, GetFrameTime()) << row.current << " " << row.previous;
  }
}

TEST_F(ClocksTest, ElapsedIsNarrowedToF32) {
  const struct {
    u32 ticks;
    f64 start;
    f32 expected;
  } rows[] = {
      {1500, 0, 1500.0f},          // before start-up sets the clock: the tick count itself
      {1500, 1000, 500.0f},
      {1000, 1500, -500.0f},
      {16777217, 0, 16777216.0f},  // beyond 2^24 the f32 loses the last millisecond
      {20000001, 1, 20000000.0f},
  };
  for (const auto& row : rows) {
    ScopedFakeClock clock(row.ticks);
    startClockMs = row.start;
    EXPECT_EQ(row.expected, GetElapsedMs()) << row.ticks;
  }
}

TEST_F(ClocksTest, BusyWaitSpinsWithoutSleeping) {
  ScopedFakeClock clock(1000, 1);
  BusyWaitMs(5.0f);
  EXPECT_GE(clock.Now(), 1005u);
  EXPECT_LE(clock.Now(), 1008u);
  EXPECT_EQ(0u, clock.SleptNs());
  const u32 before = clock.Now();
  BusyWaitMs(0.0f);   // already reached
  BusyWaitMs(-3.0f);
  EXPECT_LE(clock.Now(), before + 4);
}

std::vector<std::pair<u64, u64>> sleeps;
void RecordSleep(u64 seconds, u64 nanoseconds) { sleeps.emplace_back(seconds, nanoseconds); }

TEST_F(ClocksTest, SleepSplitsIntoSecondsAndNanoseconds) {
  Platform().sleepNs = RecordSleep;
  const struct {
    u32 ms;
    u64 seconds;
    u64 nanoseconds;
  } rows[] = {
      {0, 0, 0}, {999, 0, 999000000}, {1000, 1, 0}, {1500, 1, 500000000},
      {4294967295u, 4294967, 295000000},
  };
  for (const auto& row : rows) {
    sleeps.clear();
    SleepMs(row.ms);
    ASSERT_EQ(1u, sleeps.size());
    EXPECT_EQ(row.seconds, sleeps[0].first) << row.ms;
    EXPECT_EQ(row.nanoseconds, sleeps[0].second) << row.ms;
  }
}

TEST_F(ClocksTest, ThreadSleepIgnoresNegativeTimes) {
  Platform().sleepNs = RecordSleep;
  sleeps.clear();
  SleepThreadMs(-1);
  SleepThreadMs(-1500);
  EXPECT_TRUE(sleeps.empty());
  SleepThreadMs(1500);
  SleepThreadMs(2147483647);
  ASSERT_EQ(2u, sleeps.size());
  EXPECT_EQ((std::pair<u64, u64>{1, 500000000}), sleeps[0]);
  EXPECT_EQ((std::pair<u64, u64>{2147483, 647000000}), sleeps[1]);
}

TEST_F(ClocksTest, FakeClockMovesOnSleep) {
  ScopedFakeClock clock(0);
  SleepMs(1500);
  EXPECT_EQ(1500u, clock.Now());
  EXPECT_EQ(1500000000u, clock.SleptNs());
  for (int i = 0; i < 40; ++i) Platform().sleepNs(0, 50000);  // 40 x 50 us = 2 ms
  EXPECT_EQ(1502u, clock.Now());
}

}  // namespace

// Clocks and waiting, on the fake clock and a recording sleep.
#include <utility>
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
}

TEST_F(ClocksTest, FrameTime) {
  const f64 rows[][3] = {
      {1000, 1000, 1},  // two frame steps in one millisecond: never 0
      {1000, 1001, 1}, {1033, 1000, 33}, {1000.5, 1000, 0.5},
  };
  for (const auto& row : rows) {
    frameClockMs = row[0];
    previousFrameClockMs = row[1];
    EXPECT_EQ(static_cast<f32>(row[2]), GetFrameTime()) << row[0] << " " << row[1];
  }
}

TEST_F(ClocksTest, ElapsedIsNarrowedToF32) {
  const struct {
    u32 ticks;
    f64 start;
    f32 expected;
  } rows[] = {
      {1500, 0, 1500.0f},  // before start-up sets the start clock: the tick count itself
      {1500, 1000, 500.0f},
      {1000, 1500, -500.0f},
      {16777217, 0, 16777216.0f},  // past 2^24 the f32 drops the last millisecond
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
  BusyWaitMs(-3.0f);  // already reached: one or two reads
  EXPECT_LE(clock.Now(), 1010u);
}

std::vector<std::pair<u64, u64>> sleeps;
void RecordSleep(u64 seconds, u64 nanoseconds) { sleeps.emplace_back(seconds, nanoseconds); }

TEST_F(ClocksTest, SleepsSplitIntoSecondsAndNanoseconds) {
  Platform().sleepNs = RecordSleep;
  SleepMs(0);
  SleepMs(999);
  SleepMs(1500);
  SleepMs(4294967295u);
  SleepThreadMs(-1);  // negative: returns at once
  SleepThreadMs(1500);
  SleepThreadMs(2147483647);
  const std::vector<std::pair<u64, u64>> expected = {
      {0, 0},         {0, 999000000},       {1, 500000000}, {4294967, 295000000},
      {1, 500000000}, {2147483, 647000000},
  };
  EXPECT_EQ(expected, sleeps);
}

}  // namespace

// Clocks and waiting on the fake clock and a recording sleep; threads with small handles and
// error-checking mutexes.
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <future>
#include <utility>
#include <vector>

#include "core/clocks.h"
#include "core/runtime_globals.h"
#include "core/threads.h"
#include "platform/platform_ops.h"
#include "runtime/runtime_globals.h"
#include "tests/support/test_support.h"

namespace {

std::vector<std::pair<u64, u64>> sleeps;

class ClocksTest : public testing::Test {
 protected:
  void TearDown() override {
    ResetRuntimeGlobalsForTests();
    ResetPlatformOps();
  }
};

TEST_F(ClocksTest, TicksFrameTimeAndElapsed) {
  ScopedFakeClock clock(0xFFFFFFFFu);
  EXPECT_EQ(4294967295.0, GetTicksMs());  // unsigned
  for (const auto& [start, elapsed] : {std::pair{4294967294.0, 1.0f}, {4294967795.0, -500.0f}}) {
    startClockMs = start;
    EXPECT_EQ(elapsed, GetElapsedMs()) << start;  // narrowed after subtracting
  }
  const f64 frames[][3] = {
      {1000, 1000, 1}, {1000, 1001, 1}, {1000.5, 1000, 0.5}};  // never 0 or less
  for (const auto& row : frames) {
    frameClockMs = row[0];
    previousFrameClockMs = row[1];
    EXPECT_EQ(static_cast<f32>(row[2]), GetFrameTime()) << row[0] << " " << row[1];
  }
}

void* AddOne(void* argument) {
  return reinterpret_cast<void*>(reinterpret_cast<std::intptr_t>(argument) + 1);
}

TEST_F(ClocksTest, WaitsSleepsThreadsAndMutexes) {
  ScopedFakeClock clock(1000, 1);
  BusyWaitMs(5.0f);
  EXPECT_GE(clock.Now(), 1005u);
  EXPECT_LE(clock.Now(), 1008u);
  EXPECT_EQ(0u, clock.SleptNs());
  Platform().sleepNs = [](u64 seconds, u64 nanoseconds) {
    sleeps.emplace_back(seconds, nanoseconds);
  };
  SleepMs(999);
  SleepMs(4294967295u);
  SleepThreadMs(-1);  // negative: returns at once
  SleepThreadMs(2147483647);
  const std::vector<std::pair<u64, u64>> expected = {
      {0, 999000000}, {4294967, 295000000}, {2147483, 647000000}};
  EXPECT_EQ(expected, sleeps);
  // Joinable threads are joined by their small handles.
  const i32 first = StartThread(AddOne, reinterpret_cast<void*>(41), 1);
  const i32 second = StartThread(AddOne, reinterpret_cast<void*>(7), 1);
  ASSERT_GT(first, 0);
  ASSERT_GT(second, 0);
  void* result = nullptr;
  EXPECT_EQ(0, JoinThread(second, &result));
  EXPECT_EQ(8, reinterpret_cast<std::intptr_t>(result));
  EXPECT_EQ(0, JoinThread(first, &result));
  EXPECT_EQ(42, reinterpret_cast<std::intptr_t>(result));
  for (i32 handle : {first, 0, -1, INT32_MAX})
    EXPECT_EQ(ESRCH, JoinThread(handle, &result)) << handle;
  EXPECT_EQ(-1, StartThread(nullptr, nullptr, 1));

  std::promise<void> ran;  // a detached thread runs and gives 0
  auto signal = [](void* promise) -> void* {
    static_cast<std::promise<void>*>(promise)->set_value();
    return nullptr;
  };
  EXPECT_EQ(0, StartThread(signal, &ran, 0));
  EXPECT_EQ(std::future_status::ready, ran.get_future().wait_for(std::chrono::seconds(30)));
  // Mutexes check errors instead of deadlocking.
  MutexHandle none = nullptr;
  for (MutexHandle* handle : {static_cast<MutexHandle*>(nullptr), &none}) {
    EXPECT_EQ(EINVAL, LockMutex(handle));
    EXPECT_EQ(EINVAL, UnlockMutex(handle));
    EXPECT_EQ(EINVAL, DestroyMutex(handle));
  }
  EXPECT_EQ(EINVAL, CreateMutex(nullptr));

  MutexHandle mutex = nullptr;
  ASSERT_EQ(0, CreateMutex(&mutex));
  EXPECT_EQ(EPERM, UnlockMutex(&mutex));  // not locked
  EXPECT_EQ(0, LockMutex(&mutex));
  EXPECT_EQ(EDEADLK, LockMutex(&mutex));  // second lock by the owner
  std::async(std::launch::async, [&] { EXPECT_EQ(EPERM, UnlockMutex(&mutex)); }).get();
  EXPECT_EQ(0, UnlockMutex(&mutex));
  EXPECT_EQ(0, DestroyMutex(&mutex));
  EXPECT_EQ(nullptr, mutex);
}

}  // namespace

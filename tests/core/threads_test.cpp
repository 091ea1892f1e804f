// Threads with small handles, and error-checking mutexes.
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <future>

#include "core/threads.h"
#include "tests/support/test_support.h"

namespace {

void* AddOne(void* argument) { return reinterpret_cast<void*>(reinterpret_cast<std::intptr_t>(argument) + 1); }

TEST(Threads, JoinableThreadsAreJoinedByHandle) {
  const i32 first = StartThread(AddOne, reinterpret_cast<void*>(41), 1);
  const i32 second = StartThread(AddOne, reinterpret_cast<void*>(7), 1);
  ASSERT_GT(first, 0);
  ASSERT_GT(second, 0);
  void* result = nullptr;
  EXPECT_EQ(0, JoinThread(second, &result));
  EXPECT_EQ(8, reinterpret_cast<std::intptr_t>(result));
  EXPECT_EQ(0, JoinThread(first, &result));
  EXPECT_EQ(42, reinterpret_cast<std::intptr_t>(result));
  for (i32 handle : {first, 0, -1, INT32_MAX}) EXPECT_EQ(ESRCH, JoinThread(handle, &result)) << handle;
  EXPECT_EQ(-1, StartThread(nullptr, nullptr, 1));

  std::promise<void> ran;  // a detached thread runs and gives 0
  auto signal = [](void* promise) -> void* {
    static_cast<std::promise<void>*>(promise)->set_value();
    return nullptr;
  };
  EXPECT_EQ(0, StartThread(signal, &ran, 0));
  EXPECT_EQ(std::future_status::ready, ran.get_future().wait_for(std::chrono::seconds(30)));
}

TEST(Mutexes, ErrorCheckingInsteadOfDeadlock) {
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

// Threads and error-checking mutexes over pthreads, with a registry that maps the small handles
// of joinable threads to their platform ids.
#include "core/threads.h"

#include <sched.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <new>

#include "core/clocks.h"

namespace {

struct ThreadRegistry {
  std::mutex lock;
  std::map<i32, pthread_t> threads;
  i32 lastHandle = 0;

  i32 Add(pthread_t thread) {
    std::lock_guard<std::mutex> guard(lock);
    do {
      lastHandle = (lastHandle == INT32_MAX) ? 1 : lastHandle + 1;
    } while (threads.count(lastHandle) != 0);
    threads.emplace(lastHandle, thread);
    return lastHandle;
  }

  // Removes the handle before the join, so that a second join of it fails instead of joining a
  // thread id that may have been reused.
  bool Take(i32 handle, pthread_t& thread) {
    std::lock_guard<std::mutex> guard(lock);
    auto found = threads.find(handle);
    if (found == threads.end()) return false;
    thread = found->second;
    threads.erase(found);
    return true;
  }
};

ThreadRegistry& Registry() {
  static ThreadRegistry registry;
  return registry;
}

}  // namespace

i32 StartThread(ThreadRoutine routine, void* argument, i32 joinable) {
  if (routine == nullptr) return -1;
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) return -1;
  pthread_attr_setdetachstate(&attributes,
                              joinable != 0 ? PTHREAD_CREATE_JOINABLE : PTHREAD_CREATE_DETACHED);
  pthread_t thread;
  const int created = pthread_create(&thread, &attributes, routine, argument);
  pthread_attr_destroy(&attributes);
  if (created != 0) return -1;
  if (joinable == 0) return 0;
  return Registry().Add(thread);
}

void YieldThread() { sched_yield(); }

i32 JoinThread(i32 thread, void** result) {
  pthread_t platformThread;
  if (!Registry().Take(thread, platformThread)) return ESRCH;
  return pthread_join(platformThread, result);
}

void SleepThreadMs(i32 ms) {
  if (ms < 0) return;
  SleepMs(static_cast<u32>(ms));
}

i32 CreateMutex(MutexHandle* handle) {
  if (handle == nullptr) return EINVAL;
  auto* mutex = new (std::nothrow) pthread_mutex_t;
  if (mutex == nullptr) return ENOMEM;
  pthread_mutexattr_t attributes;
  int result = pthread_mutexattr_init(&attributes);
  if (result == 0) {
    result = pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_ERRORCHECK);
    if (result == 0) result = pthread_mutex_init(mutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
  }
  if (result != 0) {
    delete mutex;
    return result;
  }
  *handle = mutex;
  return 0;
}

i32 LockMutex(MutexHandle* handle) {
  if (handle == nullptr || *handle == nullptr) return EINVAL;
  return pthread_mutex_lock(*handle);
}

i32 UnlockMutex(MutexHandle* handle) {
  if (handle == nullptr || *handle == nullptr) return EINVAL;
  return pthread_mutex_unlock(*handle);
}

i32 DestroyMutex(MutexHandle* handle) {
  if (handle == nullptr || *handle == nullptr) return EINVAL;
  const int result = pthread_mutex_destroy(*handle);
  delete *handle;
  *handle = nullptr;
  return result;
}

// A thin layer over POSIX threads: start (detached or joinable), yield, join, sleep, and an
// error-checking mutex behind a handle. Failures come back as POSIX error numbers (or -1 from
// StartThread); nothing here ends the program or prints.
//
// A joinable thread is known by a small positive handle, not by the platform thread id, which
// does not fit an i32 on 64-bit systems. An unknown handle is an error result, never a wild id.
#pragma once

#include <pthread.h>

#include "core/types.h"

using ThreadRoutine = void* (*)(void* argument);

// -1 when the thread cannot be created (or routine is null); 0 for a detached thread; else the
// handle of the joinable thread, for JoinThread.
i32 StartThread(ThreadRoutine routine, void* argument, i32 joinable);
void YieldThread();
// Waits for a joinable thread and passes its result through (result may be null). ESRCH (3) for
// a handle that StartThread did not give out or that was joined already.
i32 JoinThread(i32 thread, void** result);
// Sleeps ms / 1000 seconds and (ms mod 1000) milliseconds; a negative ms returns at once.
void SleepThreadMs(i32 ms);

// A heap mutex of the error-checking kind; null means none. The operations take the handle's
// address so that create can fill it and destroy can clear it. 22 (EINVAL) for a null handle
// pointer or a handle holding null, 12 (ENOMEM) when no storage can be had.
using MutexHandle = pthread_mutex_t*;
i32 CreateMutex(MutexHandle* handle);
i32 LockMutex(MutexHandle* handle);
i32 UnlockMutex(MutexHandle* handle);
// Always frees the storage and clears the handle, even when destroying fails.
i32 DestroyMutex(MutexHandle* handle);

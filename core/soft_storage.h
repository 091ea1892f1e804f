// Storage that a loader may be refused without ending the program. A list that cannot get
// storage ends the program with runtime error 7; a loader of data from outside (a model too big
// for the memory left) opens a SoftStorageScope instead, inside which that failure throws
// std::bad_alloc for the loader to catch, report and recover from, as the standard containers'
// failures do. Scopes nest and belong to the thread that opened them.
#pragma once

class SoftStorageScope {
 public:
  SoftStorageScope();
  ~SoftStorageScope();
  SoftStorageScope(const SoftStorageScope&) = delete;
  SoftStorageScope& operator=(const SoftStorageScope&) = delete;
};

// No storage for a list: throws std::bad_alloc inside a SoftStorageScope of this thread, else ends
// the program with runtime error 7.
[[noreturn]] void StorageUnavailable();

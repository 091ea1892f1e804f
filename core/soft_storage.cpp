// The soft-storage scopes of each thread, and the failure of a list's storage.
#include "core/soft_storage.h"

#include <new>

#include "core/runtime_error.h"

namespace {

thread_local int openScopes = 0;

}  // namespace

SoftStorageScope::SoftStorageScope() { ++openScopes; }

SoftStorageScope::~SoftStorageScope() { --openScopes; }

void StorageUnavailable() {
  if (openScopes > 0) throw std::bad_alloc();
  FatalError(kErrStorage);
}

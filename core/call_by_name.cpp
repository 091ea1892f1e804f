// Calls by name, external functions and the movie command stubs.
#include "core/call_by_name.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "core/program_services.h"
#include "core/text_functions.h"

namespace {

// The search stops at the table's last entry; an entry without a name never matches. Names are
// compared over the whole text, so one with a NUL inside matches nothing.
const CallableFunction* FindCallable(const DynString& name) {
  const CallableTable table = GetCallableTable();
  for (i32 i = 0; i < table.count && table.entries != nullptr; ++i) {
    const CallableFunction& entry = table.entries[i];
    if (entry.name == nullptr || std::strlen(entry.name) != name.Length()) continue;
    if (std::memcmp(entry.name, name.CStr(), name.Length()) == 0) return &entry;
  }
  return nullptr;
}

void PrintMovieMessage() { std::puts("PLAYMOVIE + LOOPMOVIE only on Win32 so far..."); }

}  // namespace

f32 CallByName(const DynString& name) {
  const CallableFunction* entry = FindCallable(name);
  if (entry != nullptr && entry->function != nullptr) {
    entry->function();
    return 1.0f;
  }
  std::printf("CALLBYNAME \"%s\" *** failed ***\n", name.CStr());
  return 0.0f;
}

CallableFunctionPtr LookupFunctionByName(const DynString& name) {
  const CallableFunction* entry = FindCallable(name);
  return entry != nullptr ? entry->function : nullptr;
}

LoadedLibraryTable::~LoadedLibraryTable() { UnloadSharedLibraries(); }

void DeclareExternalFunction(DynString& module, const DynString& function, void** result) {
  *result = nullptr;
  module.ToLower();
  const GrowVector<DynString>& names = loadedLibraries.names;
  for (i32 i = 0; i < names.count && i < loadedLibraries.handles.count; ++i) {
    if (!DynStringEquals(names[i], module)) continue;
    void* handle = loadedLibraries.handles[i];
    if (handle == nullptr) break;
    *result = dlsym(handle, function.CStr());
    return;
  }
  std::printf("DECLARE module not found: %s\n", module.CStr());
}

void UnloadSharedLibraries() {
  for (i32 i = 0; i < loadedLibraries.handles.count; ++i) {
    if (loadedLibraries.handles[i] != nullptr) dlclose(loadedLibraries.handles[i]);
  }
  loadedLibraries.handles.Free();
  loadedLibraries.names.Free();
}

i32 PlayMovieStub() {
  PrintMovieMessage();
  return 0;
}

void PlayMovieCommand(const DynString&) { PrintMovieMessage(); }

void LoopMovieCommand(const DynString&) { PrintMovieMessage(); }

// Reaching code chosen at run time: the program's own functions by name, functions of external
// libraries by module and function name, and the movie commands, which this platform only
// answers with a message.
#pragma once

#include "core/dyn_string.h"
#include "core/grow_vector.h"
#include "core/program_services.h"
#include "core/types.h"

// Calls the first function of the program's callable table named exactly `name` (case matters)
// and returns 1.0; otherwise prints the "failed" line and returns 0.0. Nothing ends the program.
f32 CallByName(const DynString& name);
// The function of the first entry named exactly `name`, or null.
CallableFunctionPtr LookupFunctionByName(const DynString& name);

// The external libraries the runtime has loaded: handles and lower-case names, entry i of one
// list belonging to entry i of the other. Nothing on this platform loads one, so the table stays
// empty; its destruction at process exit closes whatever it holds.
struct LoadedLibraryTable {
  GrowVector<void*> handles;
  GrowVector<DynString> names;
  ~LoadedLibraryTable();
};
extern LoadedLibraryTable loadedLibraries;

// Lower-cases the caller's module text, then looks `function` up in the loaded library of that
// name: *result is the symbol, or null (with a "not found" line when the module is unknown).
void DeclareExternalFunction(DynString& module, const DynString& function, void** result);
// Closes every loaded library in index order and empties both lists.
void UnloadSharedLibraries();

// The movie commands: each prints that movies play only on another platform.
i32 PlayMovieStub();
void PlayMovieCommand(const DynString& file);
void LoopMovieCommand(const DynString& file);

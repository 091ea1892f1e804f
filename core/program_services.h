// What the runtime needs from the program built over it: the program's build stamp and the table
// of its functions that can be called by name. The program registers them at run time (in main,
// before start-up); until it does, the core answers with its defaults (the fixed stamp
// "Jun 20 2009-19:13:10" and an empty table), so the core and its tests link without a program.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

// One entry of the callable-function table: the function (no arguments, no result) and the name
// it is called by (NUL-terminated, matched exactly).
using CallableFunctionPtr = void (*)();
struct CallableFunction {
  CallableFunctionPtr function;
  const char* name;
};

// The table as the program hands it over: `count` entries from `entries`, searched in order.
// The runtime only reads it; the program keeps it alive for the whole run.
struct CallableTable {
  const CallableFunction* entries = nullptr;
  i32 count = 0;
};

using BuildStampFunction = DynString (*)();

struct ProgramServices {
  BuildStampFunction buildStamp = nullptr;  // null: the default stamp
  CallableTable callables;                  // empty: no callable functions
};

// The services the program registered (defined with the runtime's other globals).
extern ProgramServices registeredServices;

// Replaces the registered services. A table with a null entry pointer or a negative count is
// taken as empty.
void RegisterProgramServices(const ProgramServices& services);
// Back to the defaults (tests).
void ResetProgramServicesForTests();

DynString GetBuildStamp();          // the program's stamp, or the default
DynString DefaultBuildStamp();      // "Jun 20 2009-19:13:10"
CallableTable GetCallableTable();   // the registered table, or an empty one

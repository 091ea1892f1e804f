// The registration of the program's services and the core's defaults for them.
#include "core/program_services.h"

namespace {

ProgramServices registered;

}  // namespace

void RegisterProgramServices(const ProgramServices& services) {
  registered = services;
  if (registered.callables.entries == nullptr || registered.callables.count < 0) {
    registered.callables = CallableTable{};
  }
}

void ResetProgramServicesForTests() { registered = ProgramServices{}; }

// The build date and time of the program, joined with "-"; fixed, so the stamp does not change
// from one build to the next.
DynString DefaultBuildStamp() { return DynString::FromCString("Jun 20 2009" "-" "19:13:10"); }

DynString GetBuildStamp() {
  if (registered.buildStamp != nullptr) return registered.buildStamp();
  return DefaultBuildStamp();
}

CallableTable GetCallableTable() { return registered.callables; }

// The registration of the program's services and the core's defaults for them.
#include "core/program_services.h"

void RegisterProgramServices(const ProgramServices& services) {
  registeredServices = services;
  if (registeredServices.callables.entries == nullptr || registeredServices.callables.count < 0) {
    registeredServices.callables = CallableTable{};
  }
}

void ResetProgramServicesForTests() { registeredServices = ProgramServices{}; }

// The build date and time of the program, joined with "-"; fixed, so the stamp does not change
// from one build to the next.
DynString DefaultBuildStamp() { return DynString::FromCString("Jun 20 2009" "-" "19:13:10"); }

DynString GetBuildStamp() {
  if (registeredServices.buildStamp != nullptr) return registeredServices.buildStamp();
  return DefaultBuildStamp();
}

CallableTable GetCallableTable() { return registeredServices.callables; }

// Putting the runtime's global objects back to their process-start state, for tests.
#pragma once

// Every global object defined in runtime_globals.cpp goes back to its process-start value:
// device pointers become null without anything being released (their owners delete them), the
// stores are emptied without being written back, open channels and sockets are closed and the
// music is stopped. For tests only; the program never calls it.
void ResetRuntimeGlobalsForTests();

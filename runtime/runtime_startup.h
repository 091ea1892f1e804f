// The runtime start-up: brings every subsystem up, in a fixed order with one progress line per
// stage on standard output, before the program's main routine runs. The program stores the
// start-up settings (runtime_globals.h) first and then calls InitRuntime once.
#pragma once

#include "core/types.h"

// arg0 is handed to the video start-up; arg1..arg3 are not used. Returns 0 (also, at once, when
// the video start-up answers 0). Registers the end of program as the process exit handler.
i32 InitRuntime(i32 arg0, i32 arg1, i32 arg2, i32 arg3, const char* projectName);

// The release of everything InitRuntime creates, in the end of program's order (installed as the
// shutdown handler by InitRuntime). Each object is released only while its global pointer is set,
// and the pointer is cleared after, so a second call does nothing.
void ReleaseRuntimeObjects();

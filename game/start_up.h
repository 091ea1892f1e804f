// The program's entry into the runtime: the command line built from the process arguments, the
// start-up settings the runtime reads, the runtime's start and the hand-over to the game's main
// program. The program never comes back from StartUp: every way out ends the process.
#pragma once

#include "core/dyn_string.h"

namespace game {

// Every argument, the program path included, each followed by one blank.
DynString JoinCommandLine(int argc, const char* const* argv);

// The command line and the settings the runtime starts with: a 320 x 240 screen at 30 frames a
// second, window active, no video option, no end-of-program report, no input grab.
void StoreStartUpSettings(const DynString& line);
// Starts the runtime under the project name "Stakko" and clears the error fields, so that the
// game starts from a clean error state.
void StartRuntime();
// The settings, the runtime, the game's main program, and the end of program.
[[noreturn]] void StartUp(const DynString& line);

}  // namespace game

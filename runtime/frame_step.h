// The frame step: once per pass of its main loop the program calls FlipFrame, which moves the
// frame clocks, reads the buttons, honours a quit request (the window's close or Escape, or the
// two volume buttons held together), presents the drawn frame at the set rate and resets the
// per-frame drawing state. A quit is not reported to the program: it ends the program with code
// 0. Main thread only.
#pragma once

#include "core/types.h"

void FlipFrame();
// Whether holding volume down and volume up together ends the program (on at process start).
// Whether the quit combination ends the program (defined with the runtime's globals).
extern bool quitComboEnabled;
void SetQuitComboEnabled(f32 on);
bool QuitComboEnabled();
// True while the device's last button word holds both volume buttons.
bool QuitComboHeld();

// The graphics commands that step frames themselves: the timed cross-fade to an image and the
// screen-mode change. They sit above the media layer because they run the frame step.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

constexpr f32 kCrossFadeMs = 1500.0f;

// Cross-fades from the current picture to the image over 1500 ms of the elapsed-time clock,
// one frame step per pass, then makes the image the background. A name that does not resolve
// changes nothing.
void BlendScreenToImage(const DynString& name);

// Stores the width, the height and the window-active flag into the start-up settings, hands them
// to the device's mode-change hook (which does nothing: the back buffer keeps its size) and runs
// five frame steps.
void SetScreenMode(i32 width, i32 height, i32 flag);

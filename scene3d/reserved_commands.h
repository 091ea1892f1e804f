// The rest of the 3D command set: commands kept for programs that call them, which hand their
// numbers to empty device operations or do nothing; the viewport reset; and the debug print.
#pragma once

#include "core/types.h"

void Reserved3DCommandA(f32 a, f32 b);
void Reserved3DCommandB(f32 a, f32 b, f32 c, f32 d, f32 e, f32 f, f32 g, f32 h, f32 i);
void Reserved3DCommandC(f32 a, f32 b, f32 c);
void Reserved3DCommandD(f32 a, f32 b, f32 c, f32 d);
// Always 0.
i32 Reserved3DCommandE();
void Reserved3DCommandF();
void Reserved3DCommandG();
// The viewport covers the whole screen again and the renderer returns to 2D drawing.
void ResetViewport3DCommand();
// Prints the text and a line break on standard output when the runtime's debug flag is set.
void DebugPrintCommand(const char* text);

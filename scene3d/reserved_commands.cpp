// The reserved 3D commands, the viewport reset and the debug print.
#include "scene3d/reserved_commands.h"

#include <cstdio>

#include "core/runtime_globals.h"
#include "media/graphics_device.h"
#include "scene3d/command_state.h"

void Reserved3DCommandA(f32 a, f32 b) {
  if (device3D != nullptr) device3D->ReservedDisplayA(TruncToI32(a), ColourArg(b));
}

void Reserved3DCommandB(f32 a, f32 b, f32 c, f32 d, f32 e, f32 f, f32 g, f32 h, f32 i) {
  const f32 values[7] = {c, d, e, f, g, h, i};
  if (device3D != nullptr) {
    device3D->ReservedDisplayB(TruncToI32(a), ColourArg(b), values, debugReport);
  }
}

void Reserved3DCommandC(f32 a, f32 b, f32 c) {
  if (device3D != nullptr) device3D->ReservedDisplayC(a, b, c);
}

void Reserved3DCommandD(f32 a, f32 b, f32 c, f32 d) {
  if (device3D != nullptr) device3D->ReservedDisplayD(ColourArg(a), TruncToI32(b), c, d);
}

i32 Reserved3DCommandE() { return 0; }

void Reserved3DCommandF() {}

void Reserved3DCommandG() {}

void ResetViewport3DCommand() {
  if (graphicsDevice != nullptr) graphicsDevice->SetViewport(0, 0, 0, 0);
}

void DebugPrintCommand(const char* text) {
  if (debugReport != 0 && text != nullptr) std::printf("%s\n", text);
}

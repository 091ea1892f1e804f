// The transform commands over the runtime's 3D device.
#include "scene3d/transform_commands.h"

#include "core/runtime_globals.h"
#include "scene3d/rainbows3d.h"

void SetPositionCommand(f32 x, f32 y, f32 z) {
  if (device3D != nullptr) device3D->SetPosition(x, y, z);
}

void SetScaleCommand(f32 x, f32 y, f32 z) {
  if (device3D != nullptr) device3D->SetScale(x, y, z);
}

void PushStateCommand() {
  if (device3D != nullptr) device3D->PushState();
}

void MultMatrixCommand(NumArray<f32>& values) {
  if (device3D == nullptr || values.dimCount != 1 || values.dim[0] != 16) return;
  f32 m[16];
  for (i32 i = 0; i < 16; ++i) m[i] = *NumArrayAt4(values, i, 0, 0, 0);
  device3D->AppendMatrix(m);
}

void PushTransformCommand(f32 angle, f32 x, f32 y, f32 z) {
  if (device3D != nullptr) device3D->PushTransform(angle, x, y, z);
}

void PopStateCommand() {
  if (device3D != nullptr) device3D->PopState();
}

// The 3D mode and camera commands over the runtime's 3D device.
#include "scene3d/mode_commands.h"

#include "core/runtime_globals.h"
#include "scene3d/texture_commands.h"

void Enter3DMode(f32 zNear, f32 zFar, f32 fovDegrees) {
  if (device3D == nullptr) return;
  device3D->SetProjection(zNear, zFar, fovDegrees);
  commands3D.savedCull = 0;
  device3D->SetCullMode(0);
  device3D->byteFlag3 = 0;
  device3D->byteFlag1 = 0;
  commands3D.texture = -1;
  commands3D.secondTexture = -1;
  SelectTexture3D();
}

void SetCullCommand(f32 v) {
  const i32 setting = v == 0.0f ? 0 : v > 0.0f ? 1 : -1;
  commands3D.savedCull = setting;
  if (device3D != nullptr) device3D->SetCullMode(setting);
}

void SetNormalModeCommand(f32 mode) {
  if (device3D != nullptr) device3D->normalMode = TruncToI32(mode) % 3;
}

void SetTwoValuesCommand(f32 a, f32 b) {
  if (device3D != nullptr) device3D->SetTwoValues(a, b);
}

void SetByteFlag2Command(f32 v) {
  if (device3D != nullptr) device3D->byteFlag2 = v != 0.0f ? 1 : 0;
}

i32 SetCameraCommand(f32 eyeX, f32 eyeY, f32 eyeZ, f32 targetX, f32 targetY, f32 targetZ) {
  if (device3D == nullptr) return 0;
  return device3D->ResetState(eyeX, eyeY, eyeZ, targetX, targetY, targetZ);
}

void SetCameraUpCommand(f32 x, f32 y, f32 z) {
  if (device3D != nullptr) device3D->SetUpVector(x, y, z);
}

void ClearDepthCommand() {
  if (device3D != nullptr) device3D->ClearDepth();
}

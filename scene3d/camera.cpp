// Entering 3D mode, the camera's up vector, culling, the per-frame flag and the small device
// operations of the same family. Several fields are stored and never read back (fovTangent, the
// two values, the byte flags): programs may set them, nothing draws differently.
#include <cmath>

#include "media/graphics_device.h"
#include "media/render_target.h"
#include "media/textured_quads.h"
#include "render/soft_render_context.h"
#include "scene3d/rainbows3d.h"

namespace {

constexpr f32 kRadiansPerDegree = 0.017453292f;
constexpr f64 kRadians89 = 1.5533430576324463;  // 89 degrees

// The tangent of the field of view widened by 5 degrees, capped at 89 degrees.
f32 WidenedFovTangent(f32 fovDegrees) {
  const f32 widened = fovDegrees + 5.0f;
  if (widened > 89.0f) return static_cast<f32>(std::tan(kRadians89));
  return static_cast<f32>(std::tan(static_cast<f64>(widened * kRadiansPerDegree)));
}

}  // namespace

void Rainbows3D::SetProjection(f32 zNear, f32 zFar, f32 fovDegrees) {
  frameFlag = 0;
  fovTangent = WidenedFovTangent(fovDegrees);
  up[0] = 0.0f, up[1] = 1.0f, up[2] = 0.0f;
  nearPlane = zNear;
  farPlane = zFar;
  SoftRenderContext& renderer = GetSoftRenderContext();
  // The 2D device stores the viewport with 0 sizes replaced by the target's, so the height is
  // not 0 once a viewport was set; a device that never had one gets aspect 0 (no projection).
  f32 aspect = 0.0f;
  if (device2D != nullptr && device2D->viewportHeight != 0) {
    aspect = static_cast<f32>(device2D->viewportWidth) / static_cast<f32>(device2D->viewportHeight);
  }
  renderer.Perspective(fovDegrees, aspect, zNear, zFar);  // the unwidened field of view
  renderer.SetDepthTest(1);
  byteFlag2 = 0;
  byteFlag3 = 0;
  ResetStack();
  cullMode = 0;
  renderer.SetCullFace(0);
  valueA = 0.0f;
  valueB = 0.0f;
  SelectSpriteTexture(device2D, -1);
  eye[0] = eye[1] = eye[2] = 0.0f;
  target[0] = target[1] = 0.0f;
  target[2] = -1.0f;
  LookAtMatrix(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, -1.0f, up[0], up[1], up[2]);
  ResetStack();
}

void Rainbows3D::SetUpVector(f32 x, f32 y, f32 z) { up[0] = x, up[1] = y, up[2] = z; }

void Rainbows3D::SetCullMode(i32 mode) {
  cullMode = static_cast<u8>(static_cast<u32>(mode));
  if (mode == 0) {
    GetSoftRenderContext().SetCullFace(0);
  } else if (mode == 1) {
    GetSoftRenderContext().SetCullFace(kCullBackFaces);
  } else if (mode == -1) {
    GetSoftRenderContext().SetCullFace(kCullFrontFaces);
  }
}

void Rainbows3D::SetFrameFlag(u8 value) {
  if (frameFlag != value) frameFlag = value;
}

void Rainbows3D::ClearDepth() { GetRenderTarget().ClearDepth(); }

void Rainbows3D::SetTwoValues(f32 a, f32 b) {
  valueA = a;
  valueB = b;
}

void ForwardLookAt(f32 eyeX, f32 eyeY, f32 eyeZ, f32 targetX, f32 targetY, f32 targetZ, f32 upX,
                   f32 upY, f32 upZ) {
  LookAtMatrix(eyeX, eyeY, eyeZ, targetX, targetY, targetZ, upX, upY, upZ);
}

void ClearMeshWrapper(MeshObject& mesh, i32 freeMemory) {
  mesh.Clear((static_cast<u32>(freeMemory) & 0xFFu) != 0);
}

Rainbows3D* IdentityValue(Rainbows3D* device, const u8* /*table*/, i32 /*count*/) { return device; }

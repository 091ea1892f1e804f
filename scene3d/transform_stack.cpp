// The model matrix of a transform state, and the device's stack operations over its 16 states.
#include "scene3d/transform_stack.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "render/soft_render_context.h"
#include "scene3d/rainbows3d.h"

namespace {

constexpr f32 kRadiansPerDegree = 0.017453292f;

constexpr f32 kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// The one axis component that is non-zero (0, 1, 2), or -1 when there is not exactly one.
i32 SingleAxis(const TransformRecord& record) {
  const i32 nonZero = (record.axisX != 0.0f) + (record.axisY != 0.0f) + (record.axisZ != 0.0f);
  if (nonZero != 1) return -1;
  return record.axisX != 0.0f ? 0 : record.axisY != 0.0f ? 1 : 2;
}

}  // namespace

const f32* IdentityMatrix4() { return kIdentity; }

void MultiplyMatrix4(const f32 a[16], const f32 b[16], f32 out[16]) {
  f32 product[16];
  for (i32 c = 0; c < 4; ++c) {
    for (i32 r = 0; r < 4; ++r) {
      product[4 * c + r] = a[r] * b[4 * c] + a[4 + r] * b[4 * c + 1] + a[8 + r] * b[4 * c + 2] +
                           a[12 + r] * b[4 * c + 3];
    }
  }
  std::copy_n(product, 16, out);
}

bool InvertAffineMatrix(const f32 m[16], f32 out[16]) {
  // The adjugate over the determinant, in double: a placement's block is small and well
  // conditioned, and rigid placements come out as their transposes up to rounding.
  auto a = [m](i32 r, i32 c) { return static_cast<f64>(m[4 * c + r]); };
  f64 inv[3][3];
  for (i32 r = 0; r < 3; ++r) {
    for (i32 c = 0; c < 3; ++c) {
      // Cofactor of element (c, r): the 2 x 2 minor without row c and column r, cyclically signed.
      const i32 r0 = (c + 1) % 3, r1 = (c + 2) % 3, c0 = (r + 1) % 3, c1 = (r + 2) % 3;
      inv[r][c] = a(r0, c0) * a(r1, c1) - a(r0, c1) * a(r1, c0);
    }
  }
  const f64 det = a(0, 0) * inv[0][0] + a(0, 1) * inv[1][0] + a(0, 2) * inv[2][0];
  // Narrowed only when the value fits a float: a singular block gives infinities or NaN here.
  auto narrow = [](f64 v, f32& out) {
    if (!(std::fabs(v) <= std::numeric_limits<f32>::max())) return false;
    out = static_cast<f32>(v);
    return true;
  };
  f32 result[16] = {};
  for (i32 r = 0; r < 3; ++r) {
    f64 t = 0.0;
    for (i32 c = 0; c < 3; ++c) {
      if (!narrow(inv[r][c] / det, result[4 * c + r])) return false;
      t -= inv[r][c] / det * a(c, 3);
    }
    if (!narrow(t, result[12 + r])) return false;
  }
  result[15] = 1.0f;
  std::copy_n(result, 16, out);
  return true;
}

void TransformPoint(const f32 m[16], const f32 p[3], f32 out[3]) {
  const f32 x = p[0], y = p[1], z = p[2];
  for (i32 r = 0; r < 3; ++r) out[r] = m[r] * x + m[4 + r] * y + m[8 + r] * z + m[12 + r];
}

void TransformDirection(const f32 m[16], const f32 d[3], f32 out[3]) {
  const f32 x = d[0], y = d[1], z = d[2];
  for (i32 r = 0; r < 3; ++r) out[r] = m[r] * x + m[4 + r] * y + m[8 + r] * z;
}

bool RotationMatrix(const TransformRecord& record, f32 out[16]) {
  const f32 radians = record.angle * kRadiansPerDegree;
  std::fill_n(out, 16, 0.0f);
  out[15] = 1.0f;
  const i32 axis = SingleAxis(record);
  if (axis >= 0) {
    const f32 component = axis == 0 ? record.axisX : axis == 1 ? record.axisY : record.axisZ;
    const f32 angle = component < 0.0f ? -radians : radians;
    const f32 s = std::sin(angle), c = std::cos(angle);
    // The two other axes (i, j) in right-handed order: x -> (y, z), y -> (z, x), z -> (x, y).
    const i32 i = (axis + 1) % 3, j = (axis + 2) % 3;
    out[5 * axis] = 1.0f;
    out[5 * i] = c;
    out[5 * j] = c;
    out[4 * i + j] = s;
    out[4 * j + i] = -s;
    return true;
  }
  const f32 length = std::sqrt(record.axisX * record.axisX + record.axisY * record.axisY +
                               record.axisZ * record.axisZ);
  if (static_cast<f64>(length) <= 1e-4) return false;
  const f32 x = record.axisX / length, y = record.axisY / length, z = record.axisZ / length;
  const f32 s = std::sin(radians), c = std::cos(radians), t = 1.0f - c;
  out[0] = c + x * x * t;
  out[1] = x * y * t + z * s;
  out[2] = x * z * t - y * s;
  out[4] = x * y * t - z * s;
  out[5] = c + y * y * t;
  out[6] = y * z * t + x * s;
  out[8] = x * z * t + y * s;
  out[9] = y * z * t - x * s;
  out[10] = c + z * z * t;
  return true;
}

void TransformState::Reset(const f32 start[16]) {
  scale[0] = scale[1] = scale[2] = 1.0f;
  position[0] = position[1] = position[2] = 0.0f;
  recordCount = 0;
  matrixCount = 0;
  std::copy_n(start, 16, model);
  matrixValid = 1;
}

void TransformState::Restart(const f32 start[16]) {
  std::copy_n(start, 16, model);
  matrixValid = 0;
  recordCount = 0;
  matrixCount = 0;
}

void TransformState::Compose() {
  if (matrixValid != 0) return;
  f32 m[16];
  std::copy_n(model, 16, m);
  for (i32 k = 0; k < matrixCount; ++k) MultiplyMatrix4(m, matrices[k], m);
  if (position[0] != 0.0f || position[1] != 0.0f || position[2] != 0.0f) {
    f32 translation[16];
    std::copy_n(kIdentity, 16, translation);
    std::copy_n(position, 3, translation + 12);
    MultiplyMatrix4(m, translation, m);
  }
  for (i32 i = recordCount - 1; i >= 0; --i) {
    f32 rotation[16];
    if (RotationMatrix(records[i], rotation)) MultiplyMatrix4(m, rotation, m);
  }
  if (scale[0] != 1.0f || scale[1] != 1.0f || scale[2] != 1.0f) {
    f32 scaling[16];
    std::copy_n(kIdentity, 16, scaling);
    scaling[0] = scale[0];
    scaling[5] = scale[1];
    scaling[10] = scale[2];
    MultiplyMatrix4(m, scaling, m);
  }
  std::copy_n(m, 16, model);
  matrixValid = 1;
}

void Rainbows3D::UpdateModelMatrix() { CurrentState().Compose(); }

void Rainbows3D::ApplyModelMatrix() {
  UpdateModelMatrix();
  GetSoftRenderContext().MultMatrixFloat(CurrentState().model);
}

void Rainbows3D::ResetStack() {
  stackIndex = 0;
  stack[0].Reset(kIdentity);
}

i32 Rainbows3D::ResetState(f32 eyeX, f32 eyeY, f32 eyeZ, f32 targetX, f32 targetY, f32 targetZ) {
  eye[0] = eyeX, eye[1] = eyeY, eye[2] = eyeZ;
  target[0] = targetX, target[1] = targetY, target[2] = targetZ;
  LookAtMatrix(eyeX, eyeY, eyeZ, targetX, targetY, targetZ, up[0], up[1], up[2]);
  ResetStack();
  return 1;
}

void Rainbows3D::RestartState() {
  CurrentState().Restart(stackIndex > 0 ? stack[stackIndex - 1].model : kIdentity);
}

void Rainbows3D::SetPosition(f32 x, f32 y, f32 z) {
  RestartState();
  TransformState& state = CurrentState();
  state.position[0] = x, state.position[1] = y, state.position[2] = z;
}

void Rainbows3D::SetScale(f32 x, f32 y, f32 z) {
  RestartState();
  TransformState& state = CurrentState();
  state.scale[0] = x, state.scale[1] = y, state.scale[2] = z;
}

void Rainbows3D::PushState() {
  if (stackIndex >= kTransformDepth - 1) return;  // like the renderer's push at its top
  UpdateModelMatrix();
  ++stackIndex;
  stack[stackIndex].Reset(stack[stackIndex - 1].model);
}

void Rainbows3D::AppendMatrix(const f32 m[16]) {
  TransformState& state = CurrentState();
  state.matrixValid = 0;
  if (state.matrixCount >= kMaxTransformMatrices) return;  // dropped, like a 17th rotation
  std::copy_n(m, 16, state.matrices[state.matrixCount++]);
}

void Rainbows3D::PushTransform(f32 angle, f32 x, f32 y, f32 z) {
  TransformState& state = CurrentState();
  state.matrixValid = 0;
  if (state.recordCount >= kMaxTransformRecords) return;
  state.records[state.recordCount++] = TransformRecord{angle, x, y, z};
}

void Rainbows3D::PopState() {
  if (stackIndex > 0) {
    --stackIndex;
    return;
  }
  stack[0].Reset(kIdentity);
}

// The pieces of one object's placement and the model matrix composed from them. The 3D device
// keeps a stack of 16 such states (rainbows3d.h); a child object pushes a state that starts from
// its parent's composed matrix.
//
// Matrices are 16 floats in column-major order (row r, column c at 4c + r; translation in
// elements 12, 13, 14), the layout the renderer's MultMatrixFloat takes; M x B means that B acts
// on a vertex first. The composition is
//   model := start x B0 x ... x B(m-1) x T x R(n-1) x ... x R0 x S
// so a vertex is scaled, rotated by record 0, 1, ..., translated, carried through the appended
// matrices from the last to the first and finally through the starting matrix. The start is the
// cached `model` itself: a rotation or matrix appended after a composition, without a restart,
// composes the whole list again on top of the composed matrix (old programs rely on this).
#pragma once

#include "core/types.h"

constexpr i32 kTransformDepth = 16;
constexpr i32 kMaxTransformRecords = 16;
constexpr i32 kMaxTransformMatrices = 16;

// A rotation by `angle` degrees about an axis of any length.
struct TransformRecord {
  f32 angle = 0;
  f32 axisX = 0, axisY = 0, axisZ = 0;
};

struct TransformState {
  i32 matrixCount = 0;
  i32 recordCount = 0;
  TransformRecord records[kMaxTransformRecords] = {};
  f32 scale[3] = {};
  f32 position[3] = {};
  f32 matrices[kMaxTransformMatrices][16] = {};
  f32 model[16] = {};
  u32 matrixValid = 0;  // non-zero while `model` agrees with the other fields

  // Scale 1, position 0, no records or matrices, model `start`, valid.
  void Reset(const f32 start[16]);
  // model := start, not valid, records and matrices dropped; position and scale kept.
  void Restart(const f32 start[16]);
  // Brings `model` up to date (nothing while it is valid).
  void Compose();
};

// out := a x b (single precision, column-major); out may be a or b.
void MultiplyMatrix4(const f32 a[16], const f32 b[16], f32 out[16]);
// The identity matrix.
const f32* IdentityMatrix4();
// out := the inverse of the placement m (a 3 x 3 block and a translation; the last row is taken
// as 0, 0, 0, 1), scale and shear included. False, with out untouched, when the block is singular
// or the inverse is not finite.
bool InvertAffineMatrix(const f32 m[16], f32 out[16]);
// out := m x p with the translation (a point), or without it (a direction); out may be p.
void TransformPoint(const f32 m[16], const f32 p[3], f32 out[3]);
void TransformDirection(const f32 m[16], const f32 d[3], f32 out[3]);
// The matrix of one rotation record: a single non-zero axis component rotates about that
// coordinate axis with only its sign counting; any other axis is normalised (Rodrigues), and one
// of length 1e-4 or less gives false (the record is skipped).
bool RotationMatrix(const TransformRecord& record, f32 out[16]);

// Float mesh submission: conversion into the immediate batch, the triangle list of each primitive
// mode, and the hand-over to the selected batch or to batch rendering.
#include "render/float_mesh.h"

#include <algorithm>

#include "render/fixed_point.h"
#include "render/soft_render_context.h"

namespace {

// Appends the triangle that vertex i completes in the primitive mode, if any. A strip's odd
// triangles swap their first two vertices, so every triangle keeps the first one's winding.
void AppendTriangleEndingAt(GrowVector<i32>& indices, i32 mode, i32 i) {
  auto add = [&indices](i32 a, i32 b, i32 c) {
    indices.Append(a);
    indices.Append(b);
    indices.Append(c);
  };
  if (mode == kMeshTriangles && i % 3 == 2) {
    add(i - 2, i - 1, i);
  } else if (mode == kMeshTriangleStrip && i >= 2) {
    const i32 n = i - 2;
    if (n % 2 == 0) {
      add(n, n + 1, n + 2);
    } else {
      add(n + 1, n, n + 2);
    }
  } else if (mode == kMeshTriangleFan && i >= 2) {
    add(0, i - 1, i);
  }
}

}  // namespace

i32 FloatMeshVertexFloats(u32 hasZ, u32 lit, u32 coloured, u32 hasColourSlot) {
  i32 z = hasZ != 0 ? 1 : 0;
  i32 floats = 2 + z + 2;  // x, y, (z), u, v
  if (lit != 0) floats += 2 + z;
  if (coloured != 0 || hasColourSlot != 0) floats += 4;
  return floats;
}

void SoftRenderContext::SubmitFloatMesh(i32 mode, i32 count, const f32* data, u32 hasZ, u32 lit,
                                        u32 textured, u32 coloured, u32 hasColourSlot) {
  if (data == nullptr) count = 0;
  count = std::max(count, 0);
  DrawBatch& mesh = immediateBatch;
  // Room for three indices a vertex at once, so that appending never grows the list; a count
  // whose list could not be indexed asks for more than any storage holds.
  mesh.indices.Reserve(static_cast<i32>(std::min<i64>(i64{count} * 3, INT32_MAX)));
  mesh.indices.Clear();
  mesh.vertices.SetCount(count);
  mesh.textured = textured;
  mesh.coloured = coloured;
  mesh.lit = lit;
  const f32* in = data;
  for (i32 i = 0; i < count; ++i) {
    AppendTriangleEndingAt(mesh.indices, mode, i);
    FixedVertex v;  // what the layout leaves out stays 0
    v.x = FloatToFixed(*in++);
    v.y = FloatToFixed(*in++);
    if (hasZ != 0) v.z = FloatToFixed(*in++);
    if (lit != 0) {
      v.nx = FloatToFixed(*in++);
      v.ny = FloatToFixed(*in++);
      if (hasZ != 0) v.nz = FloatToFixed(*in++);
    }
    if (textured != 0) {
      v.u = FloatToFixed(in[0]);
      v.v = FloatToFixed(in[1]);
    }
    in += 2;
    if (coloured != 0) {
      v.r = FloatToFixed(in[0]);
      v.g = FloatToFixed(in[1]);
      v.b = FloatToFixed(in[2]);
    } else {
      v.r = v.g = v.b = kFixedOne;
    }
    if (coloured != 0 || hasColourSlot != 0) in += 4;
    mesh.vertices[i] = v;
  }
  if (currentBatch < 0) {
    RenderBatch(&mesh);
  } else if (currentBatch < batches.count) {
    DrawBatch& record = batches[currentBatch];
    record.vertices.CopyFrom(mesh.vertices);
    record.indices.CopyFrom(mesh.indices);
    record.textured = mesh.textured;
    record.coloured = mesh.coloured;
    record.lit = mesh.lit;
  }
}

void SubmitFloatMesh(i32 mode, i32 count, const f32* data, u32 hasZ, u32 lit, u32 textured,
                     u32 coloured, u32 hasColourSlot) {
  GetSoftRenderContext().SubmitFloatMesh(mode, count, data, hasZ, lit, textured, coloured,
                                         hasColourSlot);
}

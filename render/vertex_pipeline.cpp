// Batching, projection, culling and the hand-over to the rasterizer. Clipping is in clipping.cpp,
// the vertex processors in vertex_shaders.cpp.
#include "render/vertex_pipeline.h"

#include "render/fixed_math.h"

void VertexPipeline::Init(swr::IRasterizer* target) {
  rasterizer = target;
  cullMode = kCullNonPositive;
  vertexProcessor = nullptr;
  vertexCount = indexCount = 0;
  centreX = centreY = halfWidth = halfHeight = 0;
  depthScale = depthOffset = 0x1FFFFFFF;
}

void VertexPipeline::SetViewport(i32 x, i32 y, i32 w, i32 h) {
  // Program values can be anything; the centre wraps rather than overflows.
  centreX = ShlWrap(AddWrap(x, w / 2), 16);
  centreY = ShlWrap(AddWrap(y, h / 2), 16);
  halfWidth = w / 2;
  halfHeight = h / 2;
}

void VertexPipeline::SetDepthRange(i32 zNear, i32 zFar) {
  depthOffset = Wrap32((i64{zNear} + zFar) / 2);
  depthScale = Wrap32((i64{zFar} - zNear) / 2);
}

void VertexPipeline::SetAttribStream(u32 stream, i32 stride, const void* data) {
  if (stream < 3) streams[stream] = {stride, data};
}

void VertexPipeline::DrawRunOf(i32 type, u32 count, const i32* input) {
  primitiveType = type;
  if (vertexProcessor != nullptr) (this->*vertexProcessor)(count, input);
}

void VertexPipeline::DrawIndexed(u32 count, const i32* input) {
  DrawRunOf(kTriangles, count, input);
}
void VertexPipeline::DrawIndexedLines(u32 count, const i32* input) {
  DrawRunOf(kLines, count, input);
}
void VertexPipeline::DrawIndexedPoints(u32 count, const i32* input) {
  DrawRunOf(kPoints, count, input);
}

const void* VertexPipeline::StreamRecord(i32 stream, i32 index) const {
  return static_cast<const u8*>(streams[stream].data) + i64{streams[stream].stride} * index;
}

ClipVertex* VertexPipeline::AllocClipVertex() {
  return vertexCount < kPoolSize ? &pool[vertexCount++] : nullptr;
}

i32 VertexPipeline::AddIndex(i32 poolIndex) {
  indices[indexCount++] = poolIndex;
  const i32 limit = primitiveType == kLines    ? kLineBatch
                    : primitiveType == kPoints ? kPointBatch
                                               : kTriangleBatch;
  if (indexCount < limit) return 0;
  FlushPrimitives();
  return 1;
}

void VertexPipeline::FlushPrimitives() {
  switch (primitiveType) {
    case kTriangles:
      FlushTriangles();
      break;
    case kLines:
      FlushLines();
      break;
    case kPoints:
      FlushPoints();
      break;
    default:  // no such primitive: nothing is drawn, and the batch still ends empty
      vertexCount = indexCount = 0;
      break;
  }
}

void VertexPipeline::ProjectVertices() {
  bool done[kPoolSize];
  for (i32 i = 0; i < vertexCount; ++i) done[i] = false;
  for (i32 k = 0; k < indexCount; ++k) {
    const i32 i = indices[k];
    // Fan triangles share pool entries, and projection rewrites x, y and z in place.
    if (i < 0 || i >= vertexCount || done[i]) continue;
    done[i] = true;
    ClipVertex& v = pool[i];
    const i32 r = FixedReciprocal(v.w);
    const i32 nx = FixMul(v.x, r), ny = FixMul(v.y, r), nz = FixMul(v.z, r);
    v.x = AddWrap(MulWrap(halfWidth, nx), centreX) >> 12;
    v.y = SubWrap(centreY, MulWrap(halfHeight, ny)) >> 12;
    v.z = AddWrap(depthOffset, Wrap32((i64{nz} * depthScale) >> 16));
  }
}

void VertexPipeline::FlushTriangles() {
  ClipTriangles();
  ProjectVertices();
  for (i32 k = 0; k + 3 <= indexCount && rasterizer != nullptr; k += 3) {
    if (indices[k] == -1) continue;
    const ClipVertex& a = pool[indices[k]];
    const ClipVertex& b = pool[indices[k + 1]];
    const ClipVertex& c = pool[indices[k + 2]];
    // Twice the signed screen area in 28.4 units; the rasterizer always gets it non-negative.
    const i32 area = SubWrap(MulWrap(SubWrap(c.y, b.y), SubWrap(a.x, b.x)),
                             MulWrap(SubWrap(a.y, b.y), SubWrap(c.x, b.x)));
    if (area > 0) {
      if (cullMode != kCullPositive) rasterizer->DrawTriangle(&a, &b, &c);
    } else if (cullMode != kCullNonPositive) {
      rasterizer->DrawTriangle(&c, &b, &a);
    }
  }
  vertexCount = indexCount = 0;
}

void VertexPipeline::FlushLines() {
  ClipLines();
  ProjectVertices();
  for (i32 k = 0; k + 2 <= indexCount && rasterizer != nullptr; k += 2) {
    if (indices[k] != -1) rasterizer->DrawLine(&pool[indices[k]], &pool[indices[k + 1]]);
  }
  vertexCount = indexCount = 0;
}

void VertexPipeline::FlushPoints() {
  ComputePointOutcodes();
  ProjectVertices();
  for (i32 k = 0; k < indexCount && rasterizer != nullptr; ++k) {
    if (indices[k] != -1) rasterizer->DrawPoint(&pool[indices[k]]);
  }
  vertexCount = indexCount = 0;
}

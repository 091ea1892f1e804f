// The vertex pipeline: turns indexed vertices into screen-space primitives for the rasterizer.
//
// A vertex processor (one per vertex format) transforms each input vertex into a pool entry, with
// a small post-transform cache, and adds its pool index to the batch. When the batch is full, or
// the processor's input is used up, the pipeline flushes it: clips the primitives against the six
// planes of the view volume in homogeneous clip space, projects the surviving vertices to the
// viewport (28.4 screen x and y, 16.16 depth), culls triangles by the sign of their screen area and
// hands each primitive to the rasterizer. Every DrawIndexed call ends with an empty batch.
#pragma once

#include "core/types.h"
#include "render/clip_vertex.h"
#include "render/rasterizer.h"

class SoftRenderContext;

// One attribute stream: a record every stride bytes from data.
struct AttribStream {
  i32 stride = 0;
  const void* data = nullptr;
};

class VertexPipeline {
 public:
  // A vertex processor: reads the input vertices of the given indices from stream 0.
  using Processor = void (VertexPipeline::*)(u32 count, const i32* indices);

  static constexpr i32 kPoolSize = 480;  // 96 transformed + 12 new per triangle of a full batch
  static constexpr i32 kTriangleBatch = 96;
  static constexpr i32 kLineBatch = 64;
  static constexpr i32 kPointBatch = 32;
  // Clipping writes a polygon back as a fan appended behind the batch: room for fifteen-sided
  // polygons from every triangle of a full batch. A fan that would not fit is dropped.
  static constexpr i32 kIndexCapacity = kTriangleBatch + (kTriangleBatch / 3) * 36;
  // The working polygon while clipping one triangle. Convex clipping needs nine vertices, and a
  // vertex lying exactly on a plane is repeated (up to fifteen); rounding near a plane can add a
  // few more. A triangle whose polygon outgrows this is dropped.
  static constexpr i32 kMaxPolygon = 32;

  enum PrimitiveType : i32 { kTriangles = 0, kLines = 1, kPoints = 2 };
  enum CullMode : i32 { kCullNone = 0, kCullPositive = 1, kCullNonPositive = 2 };

  explicit VertexPipeline(SoftRenderContext* owner) : context(owner) {}

  // Rasterizer stored; cull mode 2; no processor; empty batch; zero viewport; default depth range.
  void Init(swr::IRasterizer* target);
  // Centre (x + w / 2, y + h / 2) in 16.16 and half sizes in whole pixels, truncated.
  void SetViewport(i32 x, i32 y, i32 w, i32 h);
  // Maps normalised depth -1..1 to zNear..zFar (16.16).
  void SetDepthRange(i32 zNear, i32 zFar);
  void SetCullMode(i32 mode) { cullMode = mode; }
  // Streams 0..2; others are ignored.
  void SetAttribStream(u32 stream, i32 stride, const void* data);

  // Runs the vertex processor over the indices as triangles, lines or points.
  void DrawIndexed(u32 count, const i32* indices);
  void DrawIndexedLines(u32 count, const i32* indices);
  void DrawIndexedPoints(u32 count, const i32* indices);

  // The next pool entry, counted; null when the pool is full (a batch flushes long before).
  ClipVertex* AllocClipVertex();
  // Appends a pool index; flushes and returns 1 when that filled the batch (96 indices of
  // triangles, 64 of lines, 32 of points), else 0.
  i32 AddIndex(i32 poolIndex);
  void FlushPrimitives();
  void FlushTriangles();
  void FlushLines();
  void FlushPoints();
  // The steps of a flush. Clipping works only on the planes that some vertex of the batch crosses
  // and writes each surviving polygon back as a fan; projection maps every referenced pool entry
  // once.
  void ClipTriangles();
  void ClipLines();
  void ComputePointOutcodes();
  void ProjectVertices();
  // A new pool entry a + (b - a) x t, t in 8.24; its index, or -1 when the pool is full.
  i32 InterpolateClipVertex(i32 t, i32 a, i32 b);
  // Empty: the point where a processor's batch begins.
  void BeginBatchHook() {}

  // The vertex processors and their per-vertex work, one instance per vertex format. A processor
  // transforms by the context's combined matrix, copies the format's varyings and lights the lit
  // formats with the context's light direction.
  template <u32 Format>
  void ShadeVerticesBatch(u32 count, const i32* indices);
  // records[0] points at the FixedVertex to shade.
  template <u32 Format>
  void ShadeVertex(const void* const* records, ClipVertex* out) const;
  static Processor ProcessorFor(u32 format);

  AttribStream streams[3];
  Processor vertexProcessor = nullptr;
  i32 primitiveType = kTriangles;
  ClipVertex pool[kPoolSize];
  i32 vertexCount = 0;
  i32 indices[kIndexCapacity];  // pool indices; -1 marks a dropped primitive
  i32 indexCount = 0;
  i32 centreX = 0;  // 16.16 pixels
  i32 centreY = 0;
  i32 halfWidth = 0;  // whole pixels
  i32 halfHeight = 0;
  i32 depthScale = 0x1FFFFFFF;  // 16.16 depth units
  i32 depthOffset = 0x1FFFFFFF;
  i32 cullMode = kCullNonPositive;
  swr::IRasterizer* rasterizer = nullptr;
  SoftRenderContext* context;  // the owner, whose combined matrix and light the processors read

 private:
  struct Polygon {
    i32 count = 0;
    i32 vertices[kMaxPolygon];
  };
  // Cuts the polygon by one plane; false when less than a triangle is left or a bound is hit.
  bool ClipPolygon(i32 plane, Polygon& polygon);
  void DrawRunOf(i32 type, u32 count, const i32* input);
  const void* StreamRecord(i32 stream, i32 index) const;
};

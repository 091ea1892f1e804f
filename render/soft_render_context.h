// The software renderer's rendering context: where pixels go (the render target's colour and depth
// buffers, one pitch), how vertices are transformed (a projection and a 16-deep model-view stack,
// combined once per draw), where the rasterizer clips, which triangles are culled, whether depth
// is tested, which texture and colour key textured drawing reads, and the recorded draw batches.
// It owns the rasterizer and the vertex pipeline, which reach it back through their `context`.
//
// Floats are accepted only at this interface and converted to 16.16 on entry (saturating, NaN as
// 0); everything below is integer. The runtime uses one global context (GetSoftRenderContext);
// any number of independent ones can be built, each over its own buffers.
#pragma once

#include "core/grow_vector.h"
#include "core/types.h"
#include "render/draw_batch.h"
#include "render/rasterizer.h"
#include "render/vertex_pipeline.h"

// OpenGL's face numbers, as the callers name the faces to cull.
constexpr i32 kCullFrontFaces = 1028;
constexpr i32 kCullBackFaces = 1029;

constexpr u16 kRendererDefaultKey = 0xF810;
constexpr i32 kModelViewDepth = 16;

class SoftRenderContext {
 public:
  SoftRenderContext();
  SoftRenderContext(const SoftRenderContext&) = delete;
  SoftRenderContext& operator=(const SoftRenderContext&) = delete;

  // Makes the buffers (pitch elements a row, height rows) the drawing targets and resets the state
  // that belongs to them: colour key 0xF810 enabled, no batch selected, depth test off, every
  // recorded batch released, the perspective path off.
  void BindTargets(u16* colour, i16* depth, i32 newPitch, i32 height);
  // Re-points the buffers after a presentation; nothing else changes.
  void SetTargets(u16* colour, i16* depth);
  void SetColourKey(u16 key, u8 enable);
  // A null pointer or a size below 1 x 1 means no texture; the colour key is kept either way.
  void SetTexture(u16* pixels, i32 width, i32 height);
  bool HasTexture() const;
  void SetDepthTest(i32 flag);
  u32 GetDepthTest() const { return depthTestEnabled; }
  // 1028 (front) culls with pipeline mode 2, 1029 (back) with mode 1, anything else culls nothing.
  void SetCullFace(i32 face);

  // The model-view stack: slots 0..15; a push at 15 and a pop at 0 change nothing.
  void LoadIdentity();
  void PushMatrix();
  void PopMatrix();
  // current := current x M, M given column-major (translation in elements 12, 13, 14).
  void MultMatrixFloat(const f32 m[16]);
  // Replaces the current model-view matrix with a camera at eye looking at target.
  void LookAt(f32 eyeX, f32 eyeY, f32 eyeZ, f32 targetX, f32 targetY, f32 targetZ, f32 upX, f32 upY,
              f32 upZ);

  // Projections. Ortho takes whole-number edges, so 2D coordinates are pixels.
  void Ortho(i32 left, i32 right, i32 bottom, i32 top, f32 zNear, f32 zFar);
  void Frustum(f32 left, f32 right, f32 bottom, f32 top, f32 zNear, f32 zFar);
  void Perspective(f32 fovyDegrees, f32 aspect, f32 zNear, f32 zFar);
  // The pipeline maps clip space onto the viewport as given; the rasterizer's clip rectangle is the
  // viewport cut to the bound buffers, since programs pass any viewport.
  void SetViewport(i32 x, i32 y, i32 w, i32 h);
  // combined := projection x the current model-view matrix, as every draw starts.
  void UpdateCombined();

  // The batch table. Programs know records by index only (growing the table moves them).
  // Appends n empty records (n < 0 counts as 0) and returns the index of the first.
  i32 AllocBatches(i32 n);
  // Empties the record's lists (their storage stays) and records later float meshes into it; a
  // number outside the table is ignored.
  void SelectBatch(i32 index);
  // Later float meshes are drawn at once.
  void UnselectBatch();
  // Chooses the shader configuration from the batch's flags, the texture, the lighting switch and
  // the depth test, and draws the batch's triangles one at a time under projection x model-view.
  // An empty index list draws nothing and installs nothing; a triangle naming a vertex the batch
  // does not hold is skipped.
  void RenderBatch(const DrawBatch* batch);
  // RenderBatch on records first .. first + count - 1; numbers outside the table are skipped.
  void RenderBatches(i32 first, i32 count);
  // Converts count float vertices (layout in render/float_mesh.h) into the immediate batch with
  // the triangles of the primitive mode, then records it into the selected batch or, with none
  // selected, draws it.
  void SubmitFloatMesh(i32 mode, i32 count, const f32* data, u32 hasZ, u32 lit, u32 textured,
                       u32 coloured, u32 hasColourSlot);

  // Switches that only a program of its own or a test turns: the perspective-correct path for
  // triangles of at least minArea (doubled 28.4 area), the row interlace filter, and lighting.
  void SetPerspectivePath(u8 enabled, i32 minArea);
  void SetRowFilter(i32 phase, i32 mask);
  void SetLighting(u32 enabled);
  void SetLightDirection(f32 x, f32 y, f32 z);

  i16* depthBuffer = nullptr;
  u16* colourBuffer = nullptr;
  i32 pitch = 0;         // elements per row of both buffers (the target's width)
  i32 targetHeight = 0;  // rows of both buffers
  swr::RasterizerSubdivAffine rasterizer;
  VertexPipeline pipeline;
  i32 projection[16] = {};
  i32 modelView[kModelViewDepth][16] = {};
  i32 combined[16] = {};
  i32 lightDir[3] = {};
  u32 lightingEnabled = 0;
  u32 depthTestEnabled = 0;
  i32 modelViewIndex = 0;
  i32 currentBatch = -1;  // the batch being recorded, -1 for none
  GrowVector<DrawBatch> batches{128, 512};
  u16* texture = nullptr;  // RGB565 texels, textureWidth x textureHeight, row-major, not owned
  u16 colourKey = 0;
  u8 colourKeyEnabled = 0;
  i32 textureWidth = 0;
  i32 textureHeight = 0;
  DrawBatch immediateBatch;  // every float mesh is built here first, and drawn from here

 private:
  // Cuts the rasterizer's clip rectangle to [0, pitch] x [0, targetHeight].
  void ClampClipToTarget();
  i32* CurrentModelView() { return modelView[modelViewIndex]; }
};

// The runtime's one rendering context.
SoftRenderContext& GetSoftRenderContext();

// The entries the other subsystems call as free functions, on the runtime's context.
void LookAtMatrix(f32 eyeX, f32 eyeY, f32 eyeZ, f32 targetX, f32 targetY, f32 targetZ, f32 upX,
                  f32 upY, f32 upZ);
// Called by the render target before it replaces its buffers; there is nothing to do.
void EmptyResizeHook();

// The software renderer's one rendering context: where its pixels go (the render target's colour
// and depth buffers, handed over as raw pointers), the model-view stack, the depth-test switch,
// and the texture and colour key that textured drawing reads. The 2D layer reaches it through
// the entries below; the rasterizer, the vertex pipeline and the batch table sit behind them.
//
// Until the pipeline and the rasterizer exist, the state those would hold (cull mode, viewport,
// projection arguments) is kept in RendererCallRecord, which also counts the calls the render
// target makes, so that the 2D layer's behaviour towards the renderer can be checked.
#pragma once

#include "core/types.h"

class SoftRenderContext {
 public:
  i16* depthBuffer = nullptr;
  u16* colourBuffer = nullptr;
  i32 pitch = 0;               // elements per row of both buffers
  i32 targetHeight = 0;        // rows of both buffers: the clip rectangle must stay inside them
  i32 modelView[16][16] = {};  // 16.16 matrices, element [row * 4 + column]
  i32 modelViewIndex = 0;
  u32 depthTestEnabled = 0;
  i32 currentBatch = -1;   // batch being recorded, -1 for none
  u16* texture = nullptr;  // RGB565 texels, textureWidth x textureHeight, not owned
  u16 colourKey = 0;
  u8 colourKeyEnabled = 0;
  i32 textureWidth = 0;
  i32 textureHeight = 0;

  // Makes the buffers the drawing targets and resets the state that belongs to them: colour key
  // 0xF810 enabled, depth test off, no batch selected.
  void BindTargets(u16* colour, i16* depth, i32 newPitch, i32 height);
  // Re-points the buffers; nothing else changes.
  void SetTargets(u16* colour, i16* depth);
  // 1028 culls with mode 2, 1029 with mode 1, anything else culls nothing.
  void SetCullFace(i32 face);
  void LoadIdentity();
  void SetDepthTest(i32 flag);
  void SetViewport(i32 x, i32 y, i32 w, i32 h);
  void Ortho(i32 left, i32 right, i32 bottom, i32 top, f32 zNear, f32 zFar);
  // A null pointer with size 0 x 0 means no texture.
  void SetTexture(u16* pixels, i32 width, i32 height);
  void SetColourKey(u16 key, u8 enable);
};

// The process-wide context (defined with the runtime's globals).
extern SoftRenderContext softRenderContext;
SoftRenderContext& GetSoftRenderContext();

// Called by the render target before it replaces its buffers; does nothing.
void EmptyResizeHook();

// What the entries above were last given, for the parts of the renderer not built yet.
struct RendererCallRecord {
  i32 emptyResizeHookCalls = 0;
  i32 bindTargetsCalls = 0;
  i32 setTargetsCalls = 0;
  i32 cullMode = 0;
  i32 viewport[4] = {};     // x, y, w, h
  i32 orthoBounds[4] = {};  // left, right, bottom, top
  f32 orthoNear = 0.0f;
  f32 orthoFar = 0.0f;
};

extern RendererCallRecord rendererCallRecord;
RendererCallRecord& GetRendererCallRecord();

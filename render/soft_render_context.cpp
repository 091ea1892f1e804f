// The rendering context's entries as far as the 2D layer needs them; the transform pipeline and
// rasterizer take over the recorded parts when they are built.
#include "render/soft_render_context.h"

namespace {

constexpr i32 kFixedOne = 0x10000;
constexpr u16 kRendererDefaultKey = 0xF810;

}  // namespace

SoftRenderContext& GetSoftRenderContext() { return softRenderContext; }
RendererCallRecord& GetRendererCallRecord() { return rendererCallRecord; }

void EmptyResizeHook() { ++rendererCallRecord.emptyResizeHookCalls; }

void SoftRenderContext::BindTargets(u16* colour, i16* depth, i32 newPitch, i32 height) {
  colourKey = kRendererDefaultKey;
  colourKeyEnabled = 1;
  currentBatch = -1;
  depthBuffer = depth;
  colourBuffer = colour;
  pitch = newPitch;
  targetHeight = height;
  depthTestEnabled = 0;
  ++rendererCallRecord.bindTargetsCalls;
}

void SoftRenderContext::SetTargets(u16* colour, i16* depth) {
  colourBuffer = colour;
  depthBuffer = depth;
  ++rendererCallRecord.setTargetsCalls;
}

void SoftRenderContext::SetCullFace(i32 face) {
  rendererCallRecord.cullMode = face == 1028 ? 2 : face == 1029 ? 1 : 0;
}

void SoftRenderContext::LoadIdentity() {
  i32* m = modelView[modelViewIndex];
  for (i32 i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? kFixedOne : 0;
}

void SoftRenderContext::SetDepthTest(i32 flag) { depthTestEnabled = flag != 0 ? 1 : 0; }

void SoftRenderContext::SetViewport(i32 x, i32 y, i32 w, i32 h) {
  rendererCallRecord.viewport[0] = x;
  rendererCallRecord.viewport[1] = y;
  rendererCallRecord.viewport[2] = w;
  rendererCallRecord.viewport[3] = h;
}

void SoftRenderContext::Ortho(i32 left, i32 right, i32 bottom, i32 top, f32 zNear, f32 zFar) {
  rendererCallRecord.orthoBounds[0] = left;
  rendererCallRecord.orthoBounds[1] = right;
  rendererCallRecord.orthoBounds[2] = bottom;
  rendererCallRecord.orthoBounds[3] = top;
  rendererCallRecord.orthoNear = zNear;
  rendererCallRecord.orthoFar = zFar;
}

void SoftRenderContext::SetTexture(u16* pixels, i32 width, i32 height) {
  texture = pixels;
  textureWidth = width;
  textureHeight = height;
}

void SoftRenderContext::SetColourKey(u16 key, u8 enable) {
  colourKey = key;
  colourKeyEnabled = enable;
}

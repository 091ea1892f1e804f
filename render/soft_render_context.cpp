// The rendering context's entries: targets, switches, the matrix stack, projections and the
// viewport.
#include "render/soft_render_context.h"

#include <algorithm>

#include "render/fixed_matrix.h"
#include "render/fixed_point.h"
#include "render/projection_matrices.h"

SoftRenderContext::SoftRenderContext() : rasterizer(this), pipeline(this) {
  pipeline.Init(&rasterizer);
}

SoftRenderContext& GetSoftRenderContext() {
  // Never destroyed: the end of program still releases sprites (and with them the texture) after
  // static destructors have begun to run.
  static SoftRenderContext* const context = new SoftRenderContext();
  return *context;
}

void LookAtMatrix(f32 eyeX, f32 eyeY, f32 eyeZ, f32 targetX, f32 targetY, f32 targetZ, f32 upX,
                  f32 upY, f32 upZ) {
  GetSoftRenderContext().LookAt(eyeX, eyeY, eyeZ, targetX, targetY, targetZ, upX, upY, upZ);
}

void EmptyResizeHook() {}

void SoftRenderContext::BindTargets(u16* colour, i16* depth, i32 newPitch, i32 height) {
  colourKey = kRendererDefaultKey;
  colourKeyEnabled = 1;
  currentBatch = -1;
  depthBuffer = depth;
  colourBuffer = colour;
  pitch = newPitch;
  targetHeight = height;
  depthTestEnabled = 0;
  batches.Free();  // releases the records last to first
  rasterizer.perspective = 0;
  ClampClipToTarget();  // until the next viewport, the old rectangle must fit the new buffers
}

void SoftRenderContext::SetTargets(u16* colour, i16* depth) {
  colourBuffer = colour;
  depthBuffer = depth;
}

void SoftRenderContext::SetColourKey(u16 key, u8 enable) {
  colourKey = key;
  colourKeyEnabled = enable;
}

void SoftRenderContext::SetTexture(u16* pixels, i32 width, i32 height) {
  texture = pixels;
  textureWidth = width;
  textureHeight = height;
}

void SoftRenderContext::SetDepthTest(i32 flag) { depthTestEnabled = flag != 0 ? 1 : 0; }

void SoftRenderContext::SetCullFace(i32 face) {
  pipeline.SetCullMode(face == kCullFrontFaces  ? VertexPipeline::kCullNonPositive
                       : face == kCullBackFaces ? VertexPipeline::kCullPositive
                                                : VertexPipeline::kCullNone);
}

void SoftRenderContext::LoadIdentity() { IdentityMatrix(CurrentModelView()); }

void SoftRenderContext::PushMatrix() {
  if (modelViewIndex >= kModelViewDepth - 1) return;
  std::copy_n(modelView[modelViewIndex], 16, modelView[modelViewIndex + 1]);
  ++modelViewIndex;
}

void SoftRenderContext::PopMatrix() {
  if (modelViewIndex > 0) --modelViewIndex;
}

void SoftRenderContext::MultMatrixFloat(const f32 m[16]) {
  i32 fixed[16];
  for (i32 row = 0; row < 4; ++row) {
    for (i32 col = 0; col < 4; ++col) fixed[row * 4 + col] = FloatToFixed(m[col * 4 + row]);
  }
  MultiplyMatrix(CurrentModelView(), fixed, CurrentModelView());
}

void SoftRenderContext::LookAt(f32 eyeX, f32 eyeY, f32 eyeZ, f32 targetX, f32 targetY, f32 targetZ,
                               f32 upX, f32 upY, f32 upZ) {
  const i32 eye[3] = {FloatToFixed(eyeX), FloatToFixed(eyeY), FloatToFixed(eyeZ)};
  const i32 target[3] = {FloatToFixed(targetX), FloatToFixed(targetY), FloatToFixed(targetZ)};
  const i32 up[3] = {FloatToFixed(upX), FloatToFixed(upY), FloatToFixed(upZ)};
  LookAtFixed(CurrentModelView(), eye, target, up);
}

void SoftRenderContext::Ortho(i32 left, i32 right, i32 bottom, i32 top, f32 zNear, f32 zFar) {
  OrthoMatrix(projection, ShlWrap(left, 16), ShlWrap(right, 16), ShlWrap(bottom, 16),
              ShlWrap(top, 16), FloatToFixed(zNear), FloatToFixed(zFar));
}

void SoftRenderContext::Frustum(f32 left, f32 right, f32 bottom, f32 top, f32 zNear, f32 zFar) {
  FrustumMatrix(projection, FloatToFixed(left), FloatToFixed(right), FloatToFixed(bottom),
                FloatToFixed(top), FloatToFixed(zNear), FloatToFixed(zFar));
}

void SoftRenderContext::Perspective(f32 fovyDegrees, f32 aspect, f32 zNear, f32 zFar) {
  PerspectiveMatrix(projection, FloatToFixed(fovyDegrees), FloatToFixed(aspect),
                    FloatToFixed(zNear), FloatToFixed(zFar));
}

void SoftRenderContext::SetViewport(i32 x, i32 y, i32 w, i32 h) {
  pipeline.SetViewport(x, y, w, h);
  rasterizer.SetClipRect(x, y, w, h);
  ClampClipToTarget();
}

void SoftRenderContext::ClampClipToTarget() {
  const i32 width = std::max(pitch, 0), height = std::max(targetHeight, 0);
  rasterizer.clipX0 = std::clamp(rasterizer.clipX0, 0, width);
  rasterizer.clipX1 = std::clamp(rasterizer.clipX1, 0, width);
  rasterizer.clipY0 = std::clamp(rasterizer.clipY0, 0, height);
  rasterizer.clipY1 = std::clamp(rasterizer.clipY1, 0, height);
}

void SoftRenderContext::UpdateCombined() {
  MultiplyMatrix(projection, modelView[modelViewIndex], combined);
}

void SoftRenderContext::SetPerspectivePath(u8 enabled, i32 minArea) {
  rasterizer.perspective = enabled;
  rasterizer.minPerspectiveArea = minArea;
}

void SoftRenderContext::SetRowFilter(i32 phase, i32 mask) {
  rasterizer.rowPhase = phase;
  rasterizer.rowMask = mask;
}

void SoftRenderContext::SetLighting(u32 enabled) { lightingEnabled = enabled; }

void SoftRenderContext::SetLightDirection(f32 x, f32 y, f32 z) {
  lightDir[0] = FloatToFixed(x);
  lightDir[1] = FloatToFixed(y);
  lightDir[2] = FloatToFixed(z);
}

// The polygon list and the quad drawing of sprites, up to the renderer's float-mesh entry.
#include "media/textured_quads.h"

#include <cmath>

#include "core/grow_vector.h"
#include "media/graphics_device.h"
#include "render/float_mesh.h"
#include "render/soft_render_context.h"

namespace {

static_assert(sizeof(PolyVertex) == 8 * sizeof(f32), "the renderer reads 8 packed floats");

constexpr i32 kPolygonListMinimum = 8;

constexpr f32 kEdgeCover = 0.1f;  // makes a fan cover its last pixel column and row
constexpr f32 kRadiansPerDegree = 0.017453292f;

// The sprite's surface and record when it can texture: it has pixels and a loaded size.
bool TextureSprite(OpenGLRainbows* gfx, i32 sprite, const Surface** surface,
                   const SpriteInfo** info) {
  if (gfx == nullptr) return false;
  const Surface* s = gfx->Sprite(sprite);
  const SpriteInfo* record = gfx->Info(sprite);
  if (s == nullptr || s->pixels == nullptr || record->loadedWidth <= 0 ||
      record->loadedHeight <= 0) {
    return false;
  }
  if (surface != nullptr) *surface = s;
  if (info != nullptr) *info = record;
  return true;
}

// An animation frame in texture units: u0..u0 + uSpan across, vBottom..vBottom + vSpan up.
struct FrameUv {
  f32 u0 = 0.0f;
  f32 uSpan = 0.0f;
  f32 vBottom = 0.0f;
  f32 vSpan = 0.0f;
  f32 texelU = 0.0f;
  f32 texelV = 0.0f;
  i32 frameWidth = 0;
  i32 frameHeight = 0;
};

// False when the sprite cannot texture or has no frame size: nothing is drawn then.
bool LookUpFrame(OpenGLRainbows* gfx, i32 sprite, i32 frame, FrameUv& out) {
  const SpriteInfo* info = nullptr;
  if (!TextureSprite(gfx, sprite, nullptr, &info)) return false;
  if (info->frameWidth == 0 || info->frameHeight == 0) return false;
  const i64 perRow = info->width / info->frameWidth;
  const i64 column = perRow == 0 ? frame : frame % perRow;
  const i64 row = perRow == 0 ? 0 : frame / perRow;
  const f32 loadedW = info->loadedWidth, loadedH = info->loadedHeight;
  out.frameWidth = info->frameWidth;
  out.frameHeight = info->frameHeight;
  out.uSpan = static_cast<f32>(info->frameWidth) / loadedW;
  out.u0 = out.uSpan * static_cast<f32>(column);
  out.vBottom = static_cast<f32>(info->height - (row + 1) * info->frameHeight) / loadedH;
  out.vSpan = static_cast<f32>(info->frameHeight) / loadedH;
  out.texelU = 1.0f / loadedW;
  out.texelV = 1.0f / loadedH;
  return true;
}

void SubmitQuad(const f32 (&quad)[16]) {
  SubmitFloatMesh(kMeshTriangleFan, 4, quad, 0, 0, 1, 0, 0);
}

}  // namespace

void SelectSpriteTexture(OpenGLRainbows* gfx, i32 sprite, i32 second, i32 mode) {
  (void)second;
  (void)mode;
  texturedPolygon.texture = sprite;
  if (gfx != nullptr) texturedPolygon.device = gfx;
  SoftRenderContext& renderer = GetSoftRenderContext();
  const Surface* surface = gfx != nullptr ? gfx->Sprite(sprite) : nullptr;
  if (surface == nullptr || surface->pixels == nullptr) {
    renderer.SetTexture(nullptr, 0, 0);
    return;
  }
  renderer.SetTexture(surface->pixels, surface->width, surface->height);
  renderer.SetColourKey(surface->colourKey, surface->hasKey);
}

void BeginTexturedPolygon(OpenGLRainbows* gfx, i32 sprite) {
  SelectSpriteTexture(gfx, sprite);
  texturedPolygon.vertices.Clear();
  texturedPolygon.vertices.Reserve(kPolygonListMinimum);
}

void AddPolyVertex(OpenGLRainbows* gfx, i32 x, i32 y, f32 u, f32 v, u32 colour) {
  if (gfx == nullptr) return;
  PolyVertex vertex{};
  vertex.x = static_cast<f32>(x);
  vertex.y = static_cast<f32>(y);
  const SpriteInfo* info = nullptr;
  if (texturedPolygon.texture >= 0 && TextureSprite(gfx, texturedPolygon.texture, nullptr, &info)) {
    vertex.u = u / static_cast<f32>(info->loadedWidth);
    vertex.v = (static_cast<f32>(info->height) - v) / static_cast<f32>(info->loadedHeight);
  }
  vertex.r = static_cast<f32>(colour & 0xFF) / 255.0f;
  vertex.g = static_cast<f32>((colour >> 8) & 0xFF) / 255.0f;
  vertex.b = static_cast<f32>((colour >> 16) & 0xFF) / 255.0f;
  vertex.a = colour == gfx->transparentColour ? 0.0f : gfx->blendAlpha;
  texturedPolygon.vertices.Append(vertex);
}

void EndTexturedPolygon() {
  // The sprite may have been cleared or reloaded since the polygon began.
  SelectSpriteTexture(texturedPolygon.device, texturedPolygon.texture);
  const bool textured =
      texturedPolygon.texture >= 0 &&
      TextureSprite(texturedPolygon.device, texturedPolygon.texture, nullptr, nullptr);
  const f32* data = texturedPolygon.vertices.count > 0 ? &texturedPolygon.vertices[0].x : nullptr;
  SubmitFloatMesh(kMeshTriangleFan, texturedPolygon.vertices.count, data, 0, 0, textured ? 1 : 0, 1,
                  1);
}

void ForgetPolygonDevice(const OpenGLRainbows* gfx) {
  if (texturedPolygon.device == gfx) texturedPolygon.device = nullptr;
}

void DrawSpriteQuadFrame(OpenGLRainbows* gfx, i32 sprite, i32 frame, i32 x, i32 y, i32 w, i32 h) {
  SelectSpriteTexture(gfx, sprite);
  FrameUv f;
  if (!LookUpFrame(gfx, sprite, frame, f)) return;
  const f32 left = static_cast<f32>(x), top = static_cast<f32>(y);
  const f32 right = static_cast<f32>(i64{x} + w) + kEdgeCover;
  const f32 bottom = static_cast<f32>(i64{y} + h) + kEdgeCover;
  const f32 vTop = f.vBottom + f.vSpan, uRight = f.u0 + f.uSpan;
  const f32 quad[16] = {left,  top,    f.u0,   vTop,      left,  bottom, f.u0,   f.vBottom,
                        right, bottom, uRight, f.vBottom, right, top,    uRight, vTop};
  SubmitQuad(quad);
}

void DrawSpriteQuadRotoZoom(OpenGLRainbows* gfx, i32 sprite, i32 frame, i32 x, i32 y,
                            f32 angleDegrees, f32 scale) {
  SelectSpriteTexture(gfx, sprite);
  FrameUv f;
  if (!LookUpFrame(gfx, sprite, frame, f)) return;
  // A NaN or infinite angle or scale has no position to draw at.
  if (!std::isfinite(angleDegrees) || !std::isfinite(scale)) return;
  // Texture corners inset by half a texel, so neighbouring frames never bleed in.
  const f32 uL = f.u0 + f.texelU / 2.0f, uR = uL + f.uSpan - f.texelU;
  const f32 vB = f.vBottom + f.texelV / 2.0f, vT = vB + f.vSpan - f.texelV;
  const f32 hw = static_cast<f32>(f.frameWidth) * scale * 0.5f;
  const f32 hh = static_cast<f32>(f.frameHeight) * scale * 0.5f;
  const f32 radians = angleDegrees * kRadiansPerDegree;
  const f32 s = std::sin(radians), c = std::cos(radians);
  const f32 cx = static_cast<f32>(i64{x} + f.frameWidth / 2);
  const f32 cy = static_cast<f32>(i64{y} + f.frameHeight / 2);
  // The corner at offset (dx, dy) from the centre, turned, with its texture coordinates.
  f32 quad[16];
  auto corner = [&](i32 k, f32 dx, f32 dy, f32 u, f32 v) {
    quad[k * 4] = cx + dx * c + dy * s;
    quad[k * 4 + 1] = cy - dx * s + dy * c;
    quad[k * 4 + 2] = u;
    quad[k * 4 + 3] = v;
  };
  corner(0, -hw, -hh, uL, vT);
  corner(1, -hw, hh, uL, vB);
  corner(2, hw, hh, uR, vB);
  corner(3, hw, -hh, uR, vT);
  SubmitQuad(quad);
}

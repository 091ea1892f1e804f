// The cross-fade and the screen-mode change.
#include "runtime/frame_commands.h"

#include "core/clocks.h"
#include "core/runtime_globals.h"
#include "runtime/frame_step.h"
#include "files/file_resolver.h"
#include "media/graphics_commands.h"
#include "media/graphics_device.h"
#include "media/image_commands.h"
#include "media/render_target.h"

namespace {

constexpr i32 kOldPictureSlot = 2;
constexpr i32 kNewPictureSlot = 1;
constexpr f32 kFirstFadeFraction = 0.9f;
constexpr int kModeChangeFrames = 5;

void ModeChangeHook(i32 width, i32 height, i32 flag) { (void)width, (void)height, (void)flag; }

}  // namespace

void BlendScreenToImage(const DynString& name) {
  OpenGLRainbows* gfx = graphicsDevice;
  if (gfx == nullptr) return;
  char path[kResolvedPathSize];
  if (!ResolveImageName(name.CStr(), path)) return;
  gfx->GrabScreenSlot(kOldPictureSlot);
  gfx->LoadScreenSlot(kNewPictureSlot, path);
  gfx->ClearScreenSlot(0);
  GetRenderTarget().ClearColour();
  const f32 end = GetElapsedMs() + kCrossFadeMs;
  f32 f = kFirstFadeFraction;
  while (f > 0.0f && f < 1.0f) {
    SetBlendMode(f);
    gfx->DrawScreenSlot(kOldPictureSlot);
    SetBlendMode(1.0f - f);
    gfx->DrawScreenSlot(kNewPictureSlot);
    FlipFrame();
    f = (end - GetElapsedMs()) / kCrossFadeMs;
  }
  gfx->ClearScreenSlot(kNewPictureSlot);
  gfx->ClearScreenSlot(kOldPictureSlot);
  // The background comes from the path resolved at the start, not from the bare name, which
  // does not open for an image inside the pack (the fade would end on a black screen). The
  // resolver holds what it handed out until its next resolution, so the path still reads.
  gfx->LoadScreenSlot(0, path);
  SetBlendMode(0.0f);
  gfx->DrawScreenSlot(0);
  FlipFrame();
}

void SetScreenMode(i32 width, i32 height, i32 flag) {
  screenWidth = width;
  screenHeight = height;
  windowActive = flag;
  ModeChangeHook(width, height, flag);
  for (int i = 0; i < kModeChangeFrames; ++i) FlipFrame();
}

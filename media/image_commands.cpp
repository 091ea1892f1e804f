// Loading sprites, animations and the background from image files.
#include "media/image_commands.h"

#include "core/runtime_globals.h"
#include "files/file_resolver.h"
#include "media/graphics_device.h"
#include "media/render_target.h"

bool ResolveImageName(const char* name, char* path) {
  return ResolveFile(generalResolver, name, path, true) != 0;
}

void LoadSpriteFile(const DynString& name, i32 sprite) {
  OpenGLRainbows* gfx = graphicsDevice;
  if (gfx == nullptr || sprite < 0 || sprite >= kSpriteSlotCount) return;
  gfx->ClearSprite(sprite);
  char path[kResolvedPathSize];
  if (!ResolveImageName(name.CStr(), path)) return;
  gfx->LoadSprite(sprite, path, gfx->transparentColour);
}

void LoadAnimSpriteFile(const DynString& name, i32 sprite, i32 frameWidth, i32 frameHeight) {
  LoadSpriteFile(name, sprite);
  OpenGLRainbows* gfx = graphicsDevice;
  if (gfx == nullptr || sprite < 0 || sprite >= kSpriteSlotCount) return;
  if (gfx->Info(sprite)->width >= 1) gfx->SetSpriteFrameSize(sprite, frameWidth, frameHeight);
}

void LoadBackgroundCommand(const DynString& name) {
  OpenGLRainbows* gfx = graphicsDevice;
  if (gfx == nullptr) return;
  char path[kResolvedPathSize];
  if (ResolveImageName(name.CStr(), path) && gfx->LoadScreenSlot(0, path) != 0) {
    gfx->DrawScreenSlot(0);
    return;
  }
  gfx->ClearScreenSlot(0);
  GetRenderTarget().ClearColour();
}

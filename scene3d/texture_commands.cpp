// The 3D texture commands.
#include "scene3d/texture_commands.h"

#include "core/runtime_globals.h"
#include "media/textured_quads.h"

void SetObjectTexture(f32 sprite, f32 second) {
  commands3D.texture = TruncToI32(sprite);
  commands3D.secondTexture = TruncToI32(second);
  SelectTexture3D();
}

i32 SetObjectTextureMode(f32 mode) {
  textureMode3D = TruncToI32(mode);
  return textureMode3D;
}

void SelectTexture3D() {
  SelectSpriteTexture(graphicsDevice, commands3D.texture, commands3D.secondTexture, textureMode3D);
}

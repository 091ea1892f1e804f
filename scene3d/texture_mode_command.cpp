// The 3D texture mode command.
#include "scene3d/texture_mode_command.h"

#include "core/float_convert.h"

i32 SetObjectTextureMode(f32 mode) {
  textureMode3D = TruncToI32(mode);
  return textureMode3D;
}

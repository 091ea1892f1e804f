// The texture commands of the 3D command set: the sprites every 3D draw takes its texture from,
// and the texture mode handed on with them, which the frame step resets to 0 after presenting
// each frame.
#pragma once

#include "core/types.h"
#include "scene3d/command_state.h"

// The texture sprites := sprite and second truncated toward zero; selects the 3D texture. A
// sprite outside 0..65535 selects none.
void SetObjectTexture(f32 sprite, f32 second);
// textureMode3D := mode truncated toward zero; returns the stored value.
i32 SetObjectTextureMode(f32 mode);
// Hands the two sprites and the mode to the 2D device's texture selection.
void SelectTexture3D();

// The 3D texture setting that every 3D draw hands on with its texture sprites; the frame step
// resets it to 0 after presenting each frame.
#pragma once

#include "core/types.h"

extern i32 textureMode3D;

// textureMode3D := mode truncated toward zero; returns the stored value.
i32 SetObjectTextureMode(f32 mode);

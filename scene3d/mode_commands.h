// The 3D commands that set up drawing: entering 3D mode, culling, the normal pass of new objects,
// the camera and the depth buffer. They act on the runtime's one 3D device and do nothing before
// start-up has created it.
#pragma once

#include "core/types.h"

// Perspective over the 2D viewport, a fresh transform stack, no culling, no texture; the texture
// mode of the frame is kept.
void Enter3DMode(f32 zNear, f32 zFar, f32 fovDegrees);
// 0.0: no culling; above 0: back faces; anything else (NaN included): front faces.
void SetCullCommand(f32 v);
// The smoothing pass of the next ended object: the mode truncated, then its remainder by 3 with
// the sign of the mode (1 and 2 the two passes, anything else none).
void SetNormalModeCommand(f32 mode);
void SetTwoValuesCommand(f32 a, f32 b);
void SetByteFlag2Command(f32 v);
// Places the camera at the eye looking at the target and resets the transform stack; returns 1.
i32 SetCameraCommand(f32 eyeX, f32 eyeY, f32 eyeZ, f32 targetX, f32 targetY, f32 targetZ);
// The up vector of the next camera placement.
void SetCameraUpCommand(f32 x, f32 y, f32 z);
void ClearDepthCommand();

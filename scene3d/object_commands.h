// The 3D commands that build and draw objects, and the 3D displays that draw nothing. Slot
// numbers outside 0..4095 (NaN included) make a command do nothing; frames a mesh does not have
// draw nothing.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

// Starts building the object in the slot as a triangle strip.
void BeginObjectCommand(f32 slot);
// Appends a vertex at (x, y, z) with texture coordinates (u, v) and colour 0x00BBGGRR.
void AddVertexCommand(f32 x, f32 y, f32 z, f32 u, f32 v, f32 colour);
// Starts a new strip within the object.
void AddSeparatorCommand();
// Ends the object: draw batches and bounding spheres.
void EndObjectCommand();

// Draws the frame of the slot's object (every mesh of a scene) with the 3D texture under the
// current placement. The last three values are handed on without effect.
void DrawObjectCommand(f32 slot, f32 frame, f32 third, f32 fourth, f32 flag);
void DrawObjectFrameCommand(f32 slot, f32 frame);
// 3D sprites and texts draw nothing on this platform; the sprite command leaves the culling as
// the last cull command set it.
void DrawSprite3DCommand(f32 sprite, f32 a, f32 b, f32 c, f32 d);
void PrintText3DCommand(const DynString& text, f32 a, f32 b, f32 c, f32 d);
// Record the points and hand them to the device's line and point displays, which draw nothing;
// the width and size are held to 1..512.
void DrawLine3DCommand(f32 x1, f32 y1, f32 z1, f32 x2, f32 y2, f32 z2, f32 width, f32 colour);
void DrawPoint3DCommand(f32 x, f32 y, f32 z, f32 size, f32 colour);

// The graphics commands: the free functions through which programs draw. Each converts its
// numbers where needed and reaches the one global graphics device (runtime_globals.h:
// graphicsDevice) or the render target. Before start-up has created the device they do nothing
// and answer 0. Slot numbers outside the device's tables (sprites 0..65535, screens 0..7,
// draw-into-sprite slots 0..31) do nothing or answer 0.
//
// The loaders are in image_commands.h, the font and text commands in font_commands.h; the
// commands that step frames (the cross-fade, the screen mode) sit with the frame step.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

// Frees the background (screen slot 0) and clears the picture.
void ResetDrawState();

// The render-target blend value for a blend mode: 0 for 0 (plain), otherwise mode * 255 with its
// sign, never 0 (additive for positive modes, alpha for negative ones). Modes beyond +-128.5 are
// limited to +-32767 (the target then limits further); NaN counts as 0.
i32 BlendValueForMode(f32 mode);
// Sets that blend value, and the device's blend alpha to |mode| limited to 1.0 (1.0 for 0).
void SetBlendMode(f32 mode);

void DrawSpriteCommand(i32 sprite, i32 x, i32 y);
void DrawAnimFrameCommand(i32 sprite, i32 frame, i32 x, i32 y);
// The sprite zoomed by scaleX and scaleY about the centre it has when drawn at (x, y).
void StretchSpriteCommand(i32 sprite, i32 x, i32 y, f32 scaleX, f32 scaleY);
void StretchSpriteRectCommand(i32 sprite, i32 x, i32 y, i32 w, i32 h);
void RotateSpriteCommand(i32 sprite, i32 x, i32 y, f32 angle);
void RotoZoomSpriteCommand(i32 sprite, i32 x, i32 y, f32 angle, f32 zoom);
void DrawSpriteQuadRotoZoomCommand(i32 sprite, i32 frame, i32 x, i32 y, f32 angle, f32 scale);
void DrawSpriteQuadFrameCommand(i32 sprite, i32 frame, i32 x, i32 y, i32 w, i32 h);

i32 SpritesCollideCommand(i32 a, i32 aFrame, i32 ax, i32 ay, i32 b, i32 bFrame, i32 bx, i32 by);
i32 SpriteCollisionCommand(i32 a, i32 ax, i32 ay, i32 b, i32 bx, i32 by);

void GrabSpriteCommand(i32 sprite, i32 x, i32 y, i32 w, i32 h);
// The current picture becomes the background.
void GrabBackgroundCommand();
// The first reserved word of the sprite's record.
u32 GetSpriteInfoWordCommand(i32 sprite);
void GetSpriteSizeCommand(f32 sprite, f32* w, f32* h);
void GetSpriteSizeCommand(i32 sprite, i32* w, i32* h);

void SetTransparentColourCommand(u32 colour);
void SetPixelCommand(i32 x, i32 y, u32 colour);
u32 GetPixelCommand(i32 x, i32 y);
void DrawLineCommand(i32 x0, i32 y0, i32 x1, i32 y1, u32 colour);
void FillRectCommand(i32 x, i32 y, i32 w, i32 h, u32 colour);

void SetViewportCommand(i32 x, i32 y, i32 w, i32 h);
void GetViewportCommand(i32* x, i32* y, i32* w, i32* h);
void GetViewportCommand(f32* x, f32* y, f32* w, f32* h);
void GetScreenSizeCommand(f32* w, f32* h);
void GetScreenSizeCommand(i32* w, i32* h);

void CreateOffscreenSpriteCommand(i32 screen, i32 sprite, i32 width, i32 height);
// screen >= 0 starts drawing into that slot's sprite; a negative screen ends it.
void SelectOffscreenCommand(i32 screen);

void BeginTexturedPolygonCommand(i32 sprite);
void AddPolyVertexCommand(i32 x, i32 y, i32 u, i32 v, u32 colour);
void EndTexturedPolygonCommand();

// The frame interval becomes 1000 / fps milliseconds (fps truncated; 2 ms for 0 or below).
void SetFrameRateLimit(f32 fps);
u8 IsWindowActiveCommand();
// Hands flag != 0 to a device hook that does nothing on this platform.
void SetDeviceOptionCommand(i32 flag);
void SaveScreenImageCommand(const DynString& name);
void SaveSpriteCommand(const DynString& name, i32 sprite);
// Takes nothing and does nothing.
void EmptyGraphicsCommand();

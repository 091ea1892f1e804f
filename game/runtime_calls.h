// The runtime commands of the media and input layers that the game calls: drawing, text, sound,
// music volume, the key query and the frame step. They are declared here, once, with the command
// interface's signatures, so that every game file reaches them through this one header; the
// runtime defines them. Runtime services that the game also uses but that live in the core
// (arrays, data blocks, random numbers, maths, texts, clocks, channels) are included from their
// own headers where they are used.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

// 1 while the button mapped to the key code is held, else 0; reads the button device each call.
i32 IsKeyDown(i32 code);
// The frame step: presents the back buffer, reads the buttons, paces, clears for the next frame.
void FlipFrame();
// Draws the sprite with its top-left corner at (x, y) in the current blend mode.
void DrawSpriteCommand(i32 sprite, i32 x, i32 y);
// Makes the font (limited to 0..31) the current one.
void SetCurrentFont(i32 font);
// Draws the text at (x, y) in the current font.
void PrintTextCommand(const DynString& text, f32 x, f32 y);
// Plays the sound of the slot; returns the runtime's handle of the playing sound.
i32 PlaySoundCommand(i32 slot, f32 pan, f32 volume);
// Sets the music volume (0 to 1) when it differs from the stored one.
void SetMusicVolume(f32 v);

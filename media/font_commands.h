// The font and text commands over the graphics device's 32 font slots and the current font
// index (runtime_globals.h: currentFont). Font numbers are limited to 0..31.
#pragma once

#include "core/dyn_string.h"
#include "core/types.h"

constexpr i32 kLastFontSlot = 31;

i32 ClampFontSlot(i32 font);
// The current font := font limited to 0..31.
void SetCurrentFont(i32 font);
// Makes the (limited) font current and loads the resolved image into it; a name that is empty,
// does not resolve or does not load gives the built-in font instead.
void LoadFontFile(const DynString& name, i32 font);
// Draws the text in the current font at (x, y).
void PrintTextCommand(const DynString& text, f32 x, f32 y);
// The current font's character width and height.
void GetFontSizeCommand(f32* w, f32* h);
void GetFontSizeCommand(i32* w, i32* h);

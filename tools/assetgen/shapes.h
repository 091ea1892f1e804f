// Shapes shared by the pictures: the bevelled block that the pieces, the logos and the splash
// are built of, bevelled panels for buttons and ribbons, and the ordered dither that keeps
// smooth gradients from banding on the 16-bit screen.
#pragma once

#include "core/types.h"
#include "tools/assetgen/canvas.h"
#include "tools/assetgen/colour.h"

// A square block of side `size` in base colour, lit from the top left: a light top and left
// edge, a dark bottom and right edge, a face that darkens diagonally and a small gleam.
void DrawBevelBlock(Canvas& canvas, i32 x, i32 y, i32 size, Rgb base);

struct PanelStyle {
  Rgb top;               // face colour at the top
  Rgb bottom;            // face colour at the bottom
  Rgb outline;           // the ring around the panel
  i32 cornerCut = 3;     // pixels cut off each corner diagonally (see-through)
  f32 rimLight = 0.45f;  // how much lighter the row under the top outline is
  f32 rimDark = 0.35f;   // how much darker the row over the bottom outline is
};

// A rectangular panel with cut corners, an outline ring and a vertical gradient face.
void DrawPanel(Canvas& canvas, i32 x, i32 y, i32 w, i32 h, const PanelStyle& style);

// Spreads each opaque pixel's colour over the 16-bit screen's steps with a 4 x 4 ordered
// pattern, so that gradients show as fine texture instead of bands.
void DitherFor16Bit(Canvas& canvas);

// Sprites drawn through the software renderer: a free polygon built vertex by vertex, and an
// animation frame drawn as a quad, stretched over a rectangle or rotated and zoomed. Both reach
// the renderer as triangle fans through SubmitFloatMesh, with a sprite's pixels as texture and
// its colour key, under the 2D projection that every viewport change sets. Texture coordinates
// are fractions of the sprite's loaded (texture) size, v running upward from the bottom.
//
// A sprite without pixels gives no texture: quads of it draw nothing, polygons come out
// untextured. The renderer only borrows a sprite's pixels; the device lets go of them before it
// frees them, and the polygon re-selects its texture when it is drawn.
#pragma once

#include "core/grow_vector.h"
#include "core/types.h"

class OpenGLRainbows;

// One vertex of the polygon list, in the layout the renderer reads for a 2D vertex with a
// texture slot and a colour slot.
struct PolyVertex {
  f32 x, y;
  f32 u, v;
  f32 r, g, b;
  f32 a;  // 0 for the transparent colour, else the device's blend alpha
};

// The polygon being built and its texture (one, process-wide; defined with the runtime's globals).
struct TexturedPolygon {
  GrowVector<PolyVertex> vertices{128, 512};
  i32 texture = -1;                  // the sprite selected as texture
  OpenGLRainbows* device = nullptr;  // the device whose sprite table it indexes
};
extern TexturedPolygon texturedPolygon;

// Selects a sprite as the renderer's texture; a negative or out-of-range number selects none.
// The last two arguments are taken for callers that pass them and are not used.
void SelectSpriteTexture(OpenGLRainbows* gfx, i32 sprite, i32 second = 0, i32 mode = 0);

// Starts a polygon textured with the sprite (-1: untextured).
void BeginTexturedPolygon(OpenGLRainbows* gfx, i32 sprite);
// u and v in the sprite's pixels, v measured down from the top of its logical height.
void AddPolyVertex(OpenGLRainbows* gfx, i32 x, i32 y, f32 u, f32 v, u32 colour);
// Draws the list as one fan; the list stays until the next polygon begins.
void EndTexturedPolygon();
// Forgets a device that is going away.
void ForgetPolygonDevice(const OpenGLRainbows* gfx);

// A frame of the sprite stretched over w x h pixels at (x, y).
void DrawSpriteQuadFrame(OpenGLRainbows* gfx, i32 sprite, i32 frame, i32 x, i32 y, i32 w, i32 h);
// A frame of the sprite turned about the centre of the frame drawn at (x, y), and scaled.
void DrawSpriteQuadRotoZoom(OpenGLRainbows* gfx, i32 sprite, i32 frame, i32 x, i32 y,
                            f32 angleDegrees, f32 scale);

// Surface: the runtime's 16-bit picture. Every sprite, virtual screen and font glyph is one, and
// the 3D engine textures with them. A surface carries an RGB565 colour key and one flag per row
// that says whether the row may hold key-coloured pixels, so that plain drawing copies key-free
// rows straight. The flags are part of the behaviour, not only a speed-up: a surface without
// hasKey (a whole-screen grab, for instance) draws its key-coloured pixels.
//
// All drawing positions are relative to the render target's viewport and clipped to it; source
// pixels outside the surface are never read.
#pragma once

#include "core/types.h"
#include "media/pixel_format.h"
#include "media/rgba_image.h"

// An inclusive rectangle of a picture: left, right, top, bottom.
struct SourceRect {
  i32 left = 0;
  i32 right = 0;
  i32 top = 0;
  i32 bottom = 0;
};

class Surface {
 public:
  i32 width = 0;
  i32 height = 0;
  u16 colourKey = kDefaultColourKey;  // 0xFFFF when the picture holds no key pixel
  u8 hasKey = 0;
  u16* pixels = nullptr;    // width * height, row-major, owned
  u8* rowHasKey = nullptr;  // height flags, owned

  Surface() = default;
  ~Surface() { Clear(); }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  // Frees both buffers; size 0 x 0, hasKey 0; the colour key stays.
  void Clear();

  // Builds from the picture or an inclusive part of it (clamped to the picture): alpha below 5
  // becomes the key colour. A part with no pixels gives an empty surface with key 0xFFFF.
  void FromRgba(const RgbaImage& image, u32 keyColour, const SourceRect* rect);
  void FromRgba(const RgbaImage* image, u32 keyColour, const SourceRect* rect);
  // Reads a BMP, else a PNG file (or "mem://" block); stays empty when neither reads.
  void Load(const char* name, u32 keyColour, const SourceRect* rect);
  // Deep copy of size, pixels, row flags, key and hasKey.
  Surface& Assign(const Surface& source);
  // The whole colour buffer of the render target; no flags, no hasKey.
  void GrabWhole();
  // The rectangle from (x0, y0), |x1 - x0| wide and |y1 - y0| high, in viewport coordinates.
  // Parts outside the viewport are key-coloured and make every row flagged.
  void Grab(i32 x0, i32 y0, i32 x1, i32 y1, u32 keyColour);

  // Draws source columns srcLeft..srcRight-1 and rows srcTop..srcBottom-1 with the source
  // corner (srcLeft, srcTop) at viewport position (x, y).
  void Draw(i32 x, i32 y, i32 srcLeft, i32 srcTop, i32 srcRight, i32 srcBottom) const;
  // Draws the whole surface scaled into the rectangle between the two corners.
  void DrawStretched(i32 x0, i32 y0, i32 x1, i32 y1) const;

  // A rotated copy in a key-coloured square of side max(width, height) * 142 / 100.
  void Rotate(f32 angleDegrees, Surface& destination) const;
  // Exchanges rows and columns.
  void Transpose();
  // A 14 x 14 opaque blue picture with a white diagonal cross inside a 4-pixel border.
  void MakeCrossImage();
  // Writes the surface as a 24-bit BMP (no key). Returns 1, or 0.
  i32 SaveBmp(const char* name) const;

 private:
  bool Allocate(i32 w, i32 h);
};

// Copies the surface as the frame background: one block copy when it has exactly the render
// target's size (viewport, key and blend ignored), else drawn at the viewport origin.
void DrawBackground(const Surface& surface);

// 1 when a and b, placed at (ax, ay) and (bx, by), have solid pixels at one screen position
// x in left..right-1, y in top..bottom-1. A surface without hasKey counts as solid everywhere
// on its rectangle; two of them collide as soon as the rectangle is tested. A pixel outside a
// surface is never solid and a surface without pixels never collides.
i32 SurfacesCollide(const Surface& a, i32 ax, i32 ay, const Surface& b, i32 bx, i32 by, i32 left,
                    i32 right, i32 top, i32 bottom);
// The whole surfaces at the given positions.
i32 SurfacesCollideAt(const Surface& a, i32 ax, i32 ay, const Surface& b, i32 bx, i32 by);
// Frames (aWidth x aHeight at (aFrameX, aFrameY) of a, drawn at (ax, ay); the same for b).
i32 SurfacesCollideFrames(const Surface& a, i32 ax, i32 ay, i32 aFrameX, i32 aFrameY, i32 aWidth,
                          i32 aHeight, const Surface& b, i32 bx, i32 by, i32 bFrameX, i32 bFrameY,
                          i32 bWidth, i32 bHeight);

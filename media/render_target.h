// The one back buffer of the system: an RGB565 colour buffer with a 16-bit depth buffer beside
// it, the viewport that 2D drawing is relative to, and the blend value that picks how pixels are
// written. 2D drawing writes here through GetRenderTarget(); the software renderer is handed raw
// pointers to the same two buffers, so 2D and 3D meet in one picture. Once per frame the colour
// buffer is copied to the video surface.
#pragma once

#include "core/types.h"

// Writes one pixel; the three plot functions below are the only values it takes.
using PlotFn = void (*)(u16* pixel, u16 value);

// d := s.
void PlotPlain(u16* pixel, u16 value);
// Alpha blend with opacity -blend (the target's blend is negative).
void PlotAlpha(u16* pixel, u16 value);
// Additive blend scaled by blend (the target's blend is positive).
void PlotAdd(u16* pixel, u16 value);

constexpr u16 kDepthClearValue = 0x7F7F;

class RenderTarget {
 public:
  PlotFn plot = PlotPlain;
  i32 width = 0;
  i32 height = 0;
  i32 viewportX = 0;
  i32 viewportY = 0;
  i32 viewportWidth = 0;
  i32 viewportHeight = 0;
  i16* depthBuffer = nullptr;   // width * height values, owned
  u32 depthDirty = 0;           // set by 3D drawing; the depth clear tests and resets it
  i32 flags = 0;                // stored by Resize, read by nothing
  u8 rotated = 1;               // GetSize reports width and height exchanged while set
  u16* colourBuffer = nullptr;  // width * height pixels, rows of exactly width, owned
  i32 blend = 0;                // -255..255; 0 plain, < 0 alpha, > 0 additive
  i32 pixelCount = 0;

  constexpr RenderTarget() = default;
  ~RenderTarget();
  RenderTarget(const RenderTarget&) = delete;
  RenderTarget& operator=(const RenderTarget&) = delete;

  // New zeroed buffers of w x h (a size that is negative or cannot be allocated gives an empty
  // target after printing "Out of memory"), viewport = whole target, renderer bound to them,
  // depth cleared.
  void Resize(i32 newFlags, i32 w, i32 h, u8 newRotated);
  // The low 16 bits as a signed value, clamped to -255..255, choose the plot function.
  void SetBlend(i32 value);
  void ClearColour();
  // Clears the depth buffer to 0x7F7F only when 3D drawing has marked it dirty.
  void ClearDepth();
  // Bresenham line in viewport coordinates, both ends drawn, clipped to the whole target,
  // every point through the plot function.
  void PlotLine(i32 x0, i32 y0, i32 x1, i32 y1, u16 pixel);
  // Copies the colour buffer into the SDL video surface (row by row, the smaller of the two
  // sizes), re-points the renderer at the buffers and returns the blend to plain.
  void Present();
  void GetSize(i32* w, i32* h) const;
  // Turns a width x height image a quarter turn counter-clockwise in place.
  void RotateBuffer(u16* pixels) const;
  void Free();
};

// The process-wide render target (defined with the runtime's globals; constant-initialised, so it
// exists before any static object runs code).
extern RenderTarget renderTarget;
RenderTarget& GetRenderTarget();

// A rectangle in viewport coordinates, clipped to the viewport; a negative w or h extends the
// rectangle to the left or up from (x, y).
void FillSurfaceRect(i32 x, i32 y, i32 w, i32 h, u16 pixel);

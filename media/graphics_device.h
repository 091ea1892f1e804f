// The 2D graphics device: the tables of sprites, virtual screens, fonts and draw-into-sprite slots
// that the graphics commands address by number, and the operations that draw them into the render
// target. One object is created on the heap at start-up (it is several megabytes); the video mode,
// frame presentation and image files are members too and live in their own sources.
//
// Every entry point accepts any slot number: a sprite outside 0..65535, a screen outside 0..7, a
// font or draw-into-sprite slot outside 0..31 makes the operation do nothing (or answer 0), so the
// command layer above can forward numbers unchanged.
#pragma once

#include <memory>

#include "core/types.h"
#include "media/font.h"
#include "media/surface.h"

constexpr i32 kSpriteSlotCount = 65536;
constexpr i32 kScreenSlotCount = 8;
constexpr i32 kFontSlotCount = 32;
constexpr i32 kOffscreenSlotCount = 32;
// Holds the screen area that drawing into a sprite covers, until that drawing ends.
constexpr i32 kSavedScreenSprite = 65503;
// Transparent colour of sprites until a program sets one: red 255, blue 128.
constexpr u32 kDefaultTransparentColour = 0x8000FF;

// What the device knows of a sprite beside its surface. Sizes are 16-bit: no surface is larger.
struct SpriteInfo {
  u32 reserved0 = 0;
  u32 reserved1 = 0;
  // Size of the picture as loaded or created; -1 when empty.
  i16 loadedWidth = -1;
  i16 loadedHeight = -1;
  // The logical size; 0 when empty.
  i16 width = 0;
  i16 height = 0;
  // Animation frame size; 0 means no frames.
  i16 frameWidth = 0;
  i16 frameHeight = 0;
};

// A draw-into-sprite slot: the sprite that drawing goes into while the slot is selected.
struct OffscreenSlot {
  u32 reserved0 = 0;
  u32 reserved1 = 0;
  i32 sprite = 0;
};

struct SizePair {
  i32 width = 0;
  i32 height = 0;
};

class OpenGLRainbows {
 public:
  OpenGLRainbows();
  ~OpenGLRainbows();
  OpenGLRainbows(const OpenGLRainbows&) = delete;
  OpenGLRainbows& operator=(const OpenGLRainbows&) = delete;

  // Slots. The accessors give null for a number outside the table.
  Surface* Sprite(i32 i);
  SpriteInfo* Info(i32 i);
  Surface* Screen(i32 i);
  Font* FontSlot(i32 i);

  // Empties a sprite: loaded size -1, size 0, frame size kept, surface freed.
  void ClearSprite(i32 i);
  void ClearScreenSlot(i32 i);
  void ClearSlots();

  // Drawing sprites and screens at viewport positions.
  void DrawSprite(i32 i, i32 x, i32 y);
  void StretchSprite(i32 i, i32 x, i32 y, i32 w, i32 h);
  void SetSpriteFrameSize(i32 i, i32 frameWidth, i32 frameHeight);
  // Frames run left to right, then in rows below; frame 0 is the top-left one.
  void DrawAnimFrame(i32 i, i32 frame, i32 x, i32 y);
  // Rotated about the centre the unrotated sprite would have at (x, y), then zoomed.
  void DrawSpriteRotoZoom(i32 i, i32 x, i32 y, f32 angleDegrees, f32 scale);
  void DrawScreenSlot(i32 i);

  // Pixel collision of whole sprites, or of animation frames; 1 for a hit.
  i32 SpritesCollideAt(i32 a, i32 b, i32 ax, i32 ay, i32 bx, i32 by);
  i32 SpritesCollide(i32 a, i32 aFrame, i32 ax, i32 ay, i32 b, i32 bFrame, i32 bx, i32 by);

  // Copies a rectangle of the render target (from (x, y), |w| x |h|) into a sprite; parts
  // outside the viewport and pixels of the transparent colour become transparent. Returns 1.
  i32 GrabSprite(i32 i, i32 x, i32 y, i32 w, i32 h);
  void GrabScreenSlot(i32 i);

  void PrintText(i32 font, const char* text, f32 x, f32 y);
  i32 LoadFont(i32 font, const char* name);
  // Sets the transparent colour of sprites and of fonts.
  void SetTransparentColour(u32 colour);
  SizePair GetSpriteSize(i32 i);
  SizePair GetFontSize(i32 font);

  // The viewport as asked (w or h <= 0: the whole target); the render target gets it clipped,
  // and the software renderer is put back into 2D drawing over it.
  void SetViewport(i32 x, i32 y, i32 w, i32 h);
  void SetScreenSize(i32 w, i32 h);

  // Video mode and frame presentation.
  i32 InitVideo(i32 unused0, i32 w, i32 h, i32 unused1, i32 fps, i32 videoArgument);
  // Shows the frame, prepares the next and waits until it is due: 0.0 when a quit was asked,
  // else the milliseconds from the end of drawing to the release, plus 1.
  f64 PresentFrame();
  void SetFrameRate(i32 fps);
  i32 Activate();
  i32 Deactivate();

  // Image files.
  i32 LoadSprite(i32 slot, const char* name, u32 colourKey);
  i32 LoadScreenSlot(i32 slot, const char* name);
  i32 SaveSprite(i32 slot, const char* name);

  std::unique_ptr<SpriteInfo[]> spriteInfo;
  f32 blendAlpha = 0.0f;
  OffscreenSlot offscreen[kOffscreenSlotCount];
  i32 currentOffscreen = -1;
  std::unique_ptr<Surface[]> sprites;
  Surface screens[kScreenSlotCount];
  std::unique_ptr<Font[]> fonts;
  i32 width = 0;
  i32 height = 0;
  i32 bpp = 0;
  u8 active = 0;
  i32 videoArg = 0;
  i32 viewportX = 0;
  i32 viewportY = 0;
  i32 viewportWidth = 0;
  i32 viewportHeight = 0;
  u32 transparentColour = kDefaultTransparentColour;
  u32 fontKeyColour = 0;
  u8 initialised = 0;
  f64 nextFrameMs = 0.0;
  f64 frameMs = 0.0;

 private:
  // Lets go of the renderer's texture when it points at sprite i's pixels, which are about to
  // be freed.
  void ReleaseTextureOf(i32 i);
};

// The device whose active flag the shell command sees: the one created last (defined with the
// runtime's globals).
extern OpenGLRainbows* activeFlagDevice;

// Primitives in viewport coordinates; colours are 0x00BBGGRR.
// A negative w or h makes the rectangle end at x or y, inclusive.
void FillRect(i32 x, i32 y, i32 w, i32 h, u32 colour);
// Through the plot function; clipped to the whole target, not to the viewport.
void SetPixel(i32 x, i32 y, u32 colour);
// The pixel widened to 0x00BBGGRR with the dropped low bits zero; 0 outside the target.
u32 GetPixel(i32 x, i32 y);
void DrawLine(i32 x0, i32 y0, i32 x1, i32 y1, u32 colour);

// Drawing into a sprite. The screen's top-left area of the sprite's size serves as the canvas:
// it is saved, drawn on, captured into the sprite and restored.
// Makes sprite the slot's target: a transparent surface of the next powers of two (at least 2)
// with the logical size w x h. Sizes outside 0..16384 (whose texture would not fit the record's
// 16 bits) are refused; when the surface cannot be built the sprite is left empty.
void CreateOffscreenSprite(OpenGLRainbows* gfx, i32 slot, i32 sprite, i32 w, i32 h);
void BeginOffscreenDraw(OpenGLRainbows* gfx, i32 slot);
// Captures the canvas into the sprite, restores the screen and the whole-screen viewport.
void EndOffscreenDraw(OpenGLRainbows* gfx);

// Called during video start-up; does nothing.
void EmptyGraphicsHook();

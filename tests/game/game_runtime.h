// The real runtime under the game tests, brought up as start-up does but inside the test process:
// a 320 x 240 graphics device on the dummy video driver with the built-in font in fonts 0 and 1,
// the input device over a scripted button source, the audio output on the dummy driver with its
// sound slots, and both file-resolver contexts, all on a virtual clock that moves a millisecond
// per read (frame pacing sleeps on it and never waits). Tests hold buttons, run the game's code,
// and look at the back buffer and the game's globals.
#pragma once

#include <string>
#include <tuple>
#include <vector>

#include "core/types.h"
#include "media/button_decoder.h"
#include "media/button_sources.h"
#include "tests/support/test_support.h"

// The buttons behind the game's keys.
constexpr u32 kLeftButton = kButtonLeft;
constexpr u32 kRightButton = kButtonRight;
constexpr u32 kUpButton = kButtonUp;
constexpr u32 kDownButton = kButtonDown;
constexpr u32 kActionButton = kButtonB;
constexpr u32 kPauseButton = kButtonSelect;
constexpr u32 kVolumeUpButton = kButtonVolumeUp;
constexpr u32 kVolumeDownButton = kButtonVolumeDown;

class GameRuntime {
 public:
  GameRuntime();
  ~GameRuntime();
  GameRuntime(const GameRuntime&) = delete;
  GameRuntime& operator=(const GameRuntime&) = delete;

  // The button word read from now on, until the next call.
  void Hold(u32 buttons);
  ScriptedButtonSource* buttons = nullptr;  // owned by the input device
  ScopedFakeClock clock{1000, 1};
};

using Sprite = std::tuple<i32, i32, i32>;  // sprite, x, y

// A w x h sprite of one colour (0x00BBGGRR whose low bits RGB565 keeps: red and blue multiples
// of 8, green of 4), made through the drawing commands; the picture is cleared again.
void MakeMarkerSprite(i32 sprite, u32 colour, i32 w = 1, i32 h = 1);
// The top-left pixels of the 1 x 1 markers in the back buffer: (sprite, x, y), row by row.
std::vector<Sprite> DrawnMarkers(const std::vector<std::pair<i32, u32>>& markers);
// Clears the picture (the next frame's start).
void ClearScreen();
// How many pixels of the rectangle differ from `colour`.
i32 PixelsUnlike(i32 x, i32 y, i32 w, i32 h, u32 colour);
// A pixel of a loaded sprite as 0x00BBGGRR (RGB565 widened like the screen's pixels).
u32 SpritePixel(i32 sprite, i32 x, i32 y);
// True when every pixel of the sprite that is not see-through (black) shows on the screen with
// the sprite's top-left corner at (x, y), that is, the sprite was drawn there plainly and is not
// covered.
bool SpriteShownAt(i32 sprite, i32 x, i32 y);
// Sprite sizes as the device holds them; 0 x 0 when empty.
std::pair<i32, i32> SpriteSize(i32 sprite);

// The frame step: quit requests end the program with code 0, the volume combination can be
// switched off, and every frame resets the drawing state and moves the frame clocks.
#include "core/clocks.h"
#include "core/startup/key_queries.h"
#include "media/button_decoder.h"
#include "scene3d/texture_mode_command.h"
#include "tests/runtime/runtime_fixture.h"

namespace {

using FrameStepTest = RuntimeTest;

SDL_Event KeyEvent(Uint8 type, SDLKey key) {
  SDL_Event event{};
  event.type = type;
  event.key.type = type;
  event.key.keysym.sym = key;
  return event;
}

TEST_F(FrameStepTest, WindowEventsThatEndTheProgram) {
  SDL_Event quit{}, active{};
  quit.type = SDL_QUIT;
  active.type = SDL_ACTIVEEVENT;
  const struct {
    SDL_Event event;
    bool ends;
  } rows[] = {
      {quit, true},
      {KeyEvent(SDL_KEYDOWN, SDLK_ESCAPE), true},
      {KeyEvent(SDL_KEYUP, SDLK_ESCAPE), false},
      {KeyEvent(SDL_KEYDOWN, SDLK_a), false},
      {active, false},
  };
  for (auto row : rows) {
    errorCode = 5.0f;
    currentLine = 12.0f;
    ASSERT_EQ(0, SDL_PushEvent(&row.event));
    if (row.ends) {
      EXPECT_FATAL(kErrRegularEnd, FlipFrame());
      EXPECT_EQ(12.0f, errorLine);
    } else {
      FlipFrame();
      EXPECT_EQ(5.0f, errorCode) << int(row.event.type);
    }
    DrainEvents();
  }
}

TEST_F(FrameStepTest, VolumeCombinationEndsUnlessSwitchedOff) {
  buttons->words = {kButtonVolumeUp | kButtonVolumeDown};
  errorCode = 9.0f;
  EXPECT_FATAL(kErrRegularEnd, FlipFrame());

  SetQuitComboEnabled(0.0f);
  FlipFrame();
  EXPECT_EQ(1, IsKeyDown(1));  // the combination is still the Escape code
  SetQuitComboEnabled(2.0f);
  EXPECT_TRUE(QuitComboEnabled());
  Script({0, kButtonVolumeUp, kButtonB});  // one volume button alone does not end
  FlipFrame();
  EXPECT_EQ(0, IsKeyDown(45));
  FlipFrame();  // the scripted word moves on once per frame
  EXPECT_EQ(1, IsKeyDown(45));
}

TEST_F(FrameStepTest, EachFrameResetsTheDrawingState) {
  RenderTarget& rt = GetRenderTarget();
  // The background: one colour over the whole screen.
  FillRect(0, 0, kScreenW, kScreenH, 0x0000FF);
  graphicsDevice->GrabScreenSlot(0);
  rt.ClearColour();
  rt.SetBlend(100);
  graphicsDevice->blendAlpha = 0.25f;
  graphicsDevice->SetViewport(5, 5, 10, 10);
  SetObjectTextureMode(3.0f);
  device3D->frameFlag = 1;
  const f64 before = frameClockMs;

  FlipFrame();
  EXPECT_EQ(0, rt.blend);
  EXPECT_EQ(1.0f, graphicsDevice->blendAlpha);
  EXPECT_EQ(0, rt.viewportX);
  EXPECT_EQ(kScreenW, rt.viewportWidth);
  EXPECT_EQ(0, textureMode3D);
  EXPECT_EQ(0, device3D->frameFlag);
  EXPECT_EQ(0xF800, rt.colourBuffer[kScreenW * kScreenH - 1]);  // the background is in
  EXPECT_EQ(before, previousFrameClockMs);
  EXPECT_GT(frameClockMs, previousFrameClockMs);
  EXPECT_GE(GetFrameTime(), 1.0f);
}

}  // namespace

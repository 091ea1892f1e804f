// The video mode and frame presentation under SDL's dummy driver, paced on the fake clock: a
// video mode that cannot be set, the sleep-then-spin wait, dropped late frames, quit events, and
// the frame prepared after a present.
#include "media/frame_pacing.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <vector>

#include "media/graphics_device.h"
#include "media/render_target.h"
#include "tests/media/media_test_util.h"
#include "tests/support/test_support.h"

namespace {

constexpr f64 kThirtyFps = 1000.0 / 30;

class FramePacing : public testing::Test {
 protected:
  void SetUp() override {
    testing::internal::CaptureStdout();
    gfx->InitVideo(0, 8, 6, 0, 30, 7);
    testing::internal::GetCapturedStdout();
  }
  void TearDown() override {
    gfx.reset();
    SDL_Quit();
  }

  // Presents one frame with the next one due `dueIn` ms after the loop's first clock reading.
  f64 PresentDueIn(f64 dueIn) {
    gfx->nextFrameMs = clock.Now() + 1 + dueIn;  // the first reading is the start of the wait
    return gfx->PresentFrame();
  }

  ScopedFakeClock clock{1000, 1};
  std::unique_ptr<OpenGLRainbows> gfx = std::make_unique<OpenGLRainbows>();
};

TEST(VideoStartUp, AModeThatCannotBeSetEndsTheProcessWithStatusOne) {
  const ChildResult child = RunInChild([] {
    SDL_Quit();
    dup2(STDOUT_FILENO, STDERR_FILENO);
    OpenGLRainbows gfx;
    gfx.InitVideo(0, -1, 6, 0, 30, 0);
    std::puts("returned");
  });
  EXPECT_EQ(1, child.exitStatus);
  EXPECT_EQ(0u, child.output.find("Set Vidmode\nCouldn't set video mode: ")) << child.output;
  EXPECT_EQ(std::string::npos, child.output.find("returned"));
}

TEST_F(FramePacing, SleepsUntilThreeMillisecondsBeforeTheDueTimeThenSpins) {
  struct Case {
    f64 dueIn;
    i32 fps;
    f64 sleptMs, returned, advance;  // returned: ms from the end of drawing, plus 1
    f64 tolerance = 1e-9;
  };
  const Case cases[] = {
      {20.0, 30, 17.0, 23.0, kThirtyFps},  // sleep 17, then readings 19, 20, 21 and 22
      {5.5, 30, 0.0, 8.0, kThirtyFps},     // 5 ms ahead is not worth a sleep
      {6.0, 30, 3.0, 9.0, kThirtyFps},
      {0.0, 30, 0.0, 3.0, kThirtyFps},         // due at the first reading: one more
      {-120.0, 30, 0.0, 2.0, 4 * kThirtyFps},  // 120 ms late: the late frames are dropped
      {-10.0, 0, 0.0, 2.0, 10.0},              // fps 0: 2 ms intervals, up to the reading itself
      {-1e6, 1000000, 0.0, 2.0, 1e6, 1e-3},    // a billion intervals in one step
      // Due far ahead, as after the tick counter wrapped: pacing starts afresh from now.
      {600000.0, 30, 30.0, 36.0, 2 * kThirtyFps - 600000.0, 1e-6},
  };
  // A hundred million intervals late: caught up in one step, to the interval, where adding the
  // interval over and over would drift by its rounding errors.
  EXPECT_NEAR(1e7, NextDueTime(0.0, 0.1, 1e7 - 0.05), 1e-6);
  for (const Case& c : cases) {
    gfx->SetFrameRate(c.fps);
    const u64 sleptBefore = clock.SleptNs();
    const f64 due = clock.Now() + 1 + c.dueIn;
    EXPECT_DOUBLE_EQ(c.returned, PresentDueIn(c.dueIn)) << c.dueIn;
    EXPECT_DOUBLE_EQ(c.sleptMs * 1e6, static_cast<f64>(clock.SleptNs() - sleptBefore)) << c.dueIn;
    EXPECT_NEAR(due + c.advance, gfx->nextFrameMs, c.tolerance) << c.dueIn;
  }
}

SDL_Event Event(Uint8 type, SDLKey key = SDLK_UNKNOWN) {
  SDL_Event event{};
  event.type = event.key.type = type;
  event.key.keysym.sym = key;
  return event;
}

TEST_F(FramePacing, AQuitOrAnEscapeKeyPressEndsTheWait) {
  const std::pair<std::vector<SDL_Event>, bool> cases[] = {
      {{Event(SDL_QUIT)}, true},
      {{Event(SDL_KEYDOWN, SDLK_ESCAPE)}, true},
      {{Event(SDL_KEYUP, SDLK_ESCAPE)}, false},
      {{Event(SDL_KEYDOWN, SDLK_a), Event(SDL_QUIT)}, true},
      {{}, false},
  };
  for (const auto& [events, quits] : cases) {
    for (SDL_Event event : events) ASSERT_EQ(0, SDL_PushEvent(&event));
    gfx->nextFrameMs = clock.Now() + 10.0;
    const f64 due = gfx->nextFrameMs;
    const f64 result = gfx->PresentFrame();
    EXPECT_EQ(quits, result == 0.0) << events.size();
    EXPECT_EQ(quits, gfx->nextFrameMs == due) << events.size();
    EXPECT_EQ(1, PollQuitEvent());  // consumed either way
  }
}

TEST_F(FramePacing, PresentShowsTheFrameAndPreparesTheNextFromTheBackground) {
  RenderTarget& rt = GetRenderTarget();
  FillRect(7, 5, 1, 1, LetterRed('V'));
  // A screen whose rows are longer than the target's, as the handheld's are: rows land at its
  // pitch (the dummy driver's pitch is the width).
  std::vector<u16> wide(10 * 6);
  SDL_Surface* screen = SDL_GetVideoSurface();
  void* const pixels = screen->pixels;
  screen->pixels = wide.data();
  screen->pitch = 20;
  rt.Present();
  screen->pixels = pixels;
  screen->pitch = 16;
  EXPECT_EQ(LetterPixel('V'), wide[5 * 10 + 7]);
  rt.SetBlend(-40);
  rt.depthDirty = 1;
  rt.depthBuffer[5] = 3;
  PresentDueIn(0.0);
  EXPECT_EQ(LetterPixel('V'), static_cast<const u16*>(screen->pixels)[5 * 8 + 7]);
  EXPECT_EQ(Rows(6, "........"), TargetRows());  // no background: cleared
  EXPECT_EQ(0, rt.blend);
  EXPECT_EQ(static_cast<i16>(kDepthClearValue), rt.depthBuffer[5]);

  FillRect(7, 4, 1, 1, LetterRed('B'));
  gfx->GrabScreenSlot(0);
  rt.ClearColour();
  CreateOffscreenSprite(gfx.get(), 0, 9, 2, 2);
  BeginOffscreenDraw(gfx.get(), 0);  // drawing into a sprite ends before the frame is shown
  FillRect(0, 0, 1, 1, LetterRed('Z'));
  PresentDueIn(0.0);
  EXPECT_EQ((Rows{"Z.", ".."}), SurfaceRows(*gfx->Sprite(9)));
  EXPECT_EQ('B', PixelLetter(PixelAt(7, 4)));  // the background is the next frame's start
}

}  // namespace

// The video mode and frame presentation under SDL's dummy driver, paced on the fake clock: the
// start-up lines and failures, the sleep-then-spin wait, dropped late frames, quit events, and
// the frame prepared after a present.
#include "media/frame_pacing.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cstdlib>
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
    startupOutput = testing::internal::GetCapturedStdout();
  }
  void TearDown() override {
    gfx.reset();
    SDL_Quit();
  }

  // Presents one frame with the next one due `dueIn` ms after the loop's first clock reading.
  f64 PresentDueIn(f64 dueIn) {
    const u32 start = clock.Now();
    gfx->nextFrameMs = start + 1 + dueIn;  // the first reading is the start of the wait
    return gfx->PresentFrame();
  }

  ScopedFakeClock clock{1000, 1};
  std::unique_ptr<OpenGLRainbows> gfx = std::make_unique<OpenGLRainbows>();
  std::string startupOutput;
};

TEST_F(FramePacing, VideoStartUpOpensA16BitModeAndTheBackBuffer) {
  EXPECT_EQ("Set Vidmode\nScreen BPP: 16\n\nFBO\nViewport\nGFX seem OK\n", startupOutput);
  EXPECT_EQ(16, SDL_GetVideoSurface()->format->BitsPerPixel);
  EXPECT_EQ((std::array{16, 8, 6, 0, 7, 1}),
            (std::array<i32, 6>{gfx->bpp, gfx->width, gfx->height, gfx->active, gfx->videoArg,
                                gfx->initialised}));
  EXPECT_EQ(1000.0, gfx->nextFrameMs);
  EXPECT_EQ(8, GetRenderTarget().width);
  EXPECT_EQ(6, GetRenderTarget().viewportHeight);

  struct Case {
    i32 fps;
    f64 ms;
  };
  for (const Case& c : {Case{30, kThirtyFps}, Case{1, 1000.0}, Case{0, 2.0}, Case{INT_MIN, 2.0}}) {
    if (c.fps != 30) gfx->SetFrameRate(c.fps);
    EXPECT_DOUBLE_EQ(c.ms, gfx->frameMs) << c.fps;
  }
  EXPECT_EQ(1000.0, gfx->nextFrameMs);  // a new rate leaves the due time alone
}

TEST(VideoStartUp, FailuresEndTheProcessWithStatusOne) {
  struct Case {
    const char* driver;
    i32 width;
    const char* message;
  };
  for (const Case& c : {Case{"no-such-driver", 8, "Couldn't initialize SDL: "},
                        Case{"dummy", -1, "Set Vidmode\nCouldn't set video mode: "}}) {
    const ChildResult child = RunInChild([&c] {
      SDL_Quit();
      setenv("SDL_VIDEODRIVER", c.driver, 1);
      dup2(STDOUT_FILENO, STDERR_FILENO);
      OpenGLRainbows gfx;
      gfx.InitVideo(0, c.width, 6, 0, 30, 0);
      std::puts("returned");
    });
    EXPECT_EQ(1, child.exitStatus) << c.driver;
    EXPECT_EQ(0u, child.output.find(c.message)) << child.output;
    EXPECT_EQ(std::string::npos, child.output.find("returned"));
  }
}

TEST_F(FramePacing, SleepsUntilThreeMillisecondsBeforeTheDueTimeThenSpins) {
  struct Case {
    f64 dueIn;
    i32 fps;
    f64 sleptMs;
    f64 returned;  // milliseconds from the end of drawing, plus 1
    f64 advance;   // of the due time, from its old value
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
  };
  for (const Case& c : cases) {
    gfx->SetFrameRate(c.fps);
    const u64 sleptBefore = clock.SleptNs();
    const f64 due = clock.Now() + 1 + c.dueIn;
    EXPECT_DOUBLE_EQ(c.returned, PresentDueIn(c.dueIn)) << c.dueIn;
    EXPECT_DOUBLE_EQ(c.sleptMs * 1e6, static_cast<f64>(clock.SleptNs() - sleptBefore)) << c.dueIn;
    EXPECT_NEAR(due + c.advance, gfx->nextFrameMs, c.tolerance) << c.dueIn;
    EXPECT_GE(gfx->nextFrameMs, clock.Now() - 1.0);  // never behind the release
  }
}

TEST_F(FramePacing, AClockThatWentBackDoesNotSleepUntilTheOldDueTime) {
  gfx->SetFrameRate(30);
  const u64 sleptBefore = clock.SleptNs();
  PresentDueIn(600000.0);  // as after the tick counter wrapped
  EXPECT_LT(static_cast<f64>(clock.SleptNs() - sleptBefore), 2 * kThirtyFps * 1e6);
  EXPECT_LT(gfx->nextFrameMs, clock.Now() + 2 * kThirtyFps);
}

SDL_Event KeyEvent(Uint8 type, SDLKey key) {
  SDL_Event event{};
  event.type = type;
  event.key.type = type;
  event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = key;
  return event;
}

SDL_Event PlainEvent(Uint8 type) {
  SDL_Event event{};
  event.type = type;
  return event;
}

TEST_F(FramePacing, AQuitOrAnEscapeKeyPressEndsTheWait) {
  SDL_Event activity = PlainEvent(SDL_ACTIVEEVENT);
  activity.active.gain = 0;
  struct Case {
    std::vector<SDL_Event> events;
    bool quits;
  };
  const Case cases[] = {
      {{PlainEvent(SDL_QUIT)}, true},
      {{KeyEvent(SDL_KEYDOWN, SDLK_ESCAPE)}, true},
      {{KeyEvent(SDL_KEYUP, SDLK_ESCAPE)}, false},
      {{KeyEvent(SDL_KEYDOWN, SDLK_a)}, false},
      {{activity}, false},
      {{KeyEvent(SDL_KEYDOWN, SDLK_a), activity, PlainEvent(SDL_QUIT)}, true},
      {{}, false},
  };
  for (const Case& c : cases) {
    for (SDL_Event event : c.events) ASSERT_EQ(0, SDL_PushEvent(&event));
    EXPECT_EQ(c.quits ? 0 : 1, PollQuitEvent()) << c.events.size();
    EXPECT_EQ(1, PollQuitEvent());  // consumed either way

    for (SDL_Event event : c.events) ASSERT_EQ(0, SDL_PushEvent(&event));
    gfx->nextFrameMs = clock.Now() + 10.0;
    const f64 due = gfx->nextFrameMs;
    const f64 result = gfx->PresentFrame();
    if (c.quits) {
      EXPECT_EQ(0.0, result);
      EXPECT_EQ(due, gfx->nextFrameMs);
    } else {
      EXPECT_GT(result, 1.0);
      EXPECT_GT(gfx->nextFrameMs, due);
    }
  }
}

TEST_F(FramePacing, PresentShowsTheFrameAndPreparesTheNextFromTheBackground) {
  RenderTarget& rt = GetRenderTarget();
  PaintTarget({"ABCDEFGH", "IJKLMNOP", "QRSTUVWX", "YZABCDEF", "GHIJKLMN", "OPQRSTUV"});
  rt.SetBlend(-40);
  rt.depthDirty = 1;
  rt.depthBuffer[5] = 3;
  PresentDueIn(0.0);
  SDL_Surface* screen = SDL_GetVideoSurface();
  const u16* shown = static_cast<const u16*>(screen->pixels);
  EXPECT_EQ(LetterPixel('A'), shown[0]);
  EXPECT_EQ(LetterPixel('V'), shown[5 * screen->pitch / 2 + 7]);
  EXPECT_EQ(Rows(6, "........"), TargetRows());  // no background: cleared
  EXPECT_EQ(0, rt.blend);
  EXPECT_EQ(static_cast<i16>(kDepthClearValue), rt.depthBuffer[5]);

  PaintTarget({"ABABABAB", "CDCDCDCD", "ABABABAB", "CDCDCDCD", "ABABABAB", "CDCDCDCD"});
  gfx->GrabScreenSlot(0);
  rt.ClearColour();
  PresentDueIn(0.0);
  EXPECT_EQ('C', PixelLetter(PixelAt(0, 1)));  // the background is the next frame's start
  EXPECT_EQ('B', PixelLetter(PixelAt(7, 4)));

  // Drawing into a sprite ends before the frame is shown.
  gfx->ClearScreenSlot(0);
  CreateOffscreenSprite(gfx.get(), 0, 9, 2, 2);
  BeginOffscreenDraw(gfx.get(), 0);
  FillRect(0, 0, 1, 1, LetterRed('Z'));
  PresentDueIn(0.0);
  EXPECT_EQ(-1, gfx->currentOffscreen);
  EXPECT_EQ((Rows{"Z.", ".."}), SurfaceRows(*gfx->Sprite(9)));
  EXPECT_EQ(8, rt.viewportWidth);
}

}  // namespace

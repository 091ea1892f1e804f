// The frame step and the cross-fade that steps frames: a quit request ends the program with code
// 0, so do both volume buttons unless switched off, every frame resets the drawing state and
// moves the frame clocks, and the fade ends on its image (also one inside the pack).
#include <string>

#include "core/clocks.h"
#include "runtime/frame_commands.h"
#include "runtime/key_queries.h"
#include "files/file_resolver.h"
#include "media/button_decoder.h"
#include "media/graphics_commands.h"
#include "scene3d/texture_commands.h"
#include "tests/files/files_fixture.h"
#include "tests/media/media_test_util.h"
#include "tests/runtime/runtime_fixture.h"

namespace {

using FrameStepTest = RuntimeTest;

SDL_Event Event(Uint8 type, SDLKey key = SDLK_UNKNOWN) {
  SDL_Event event{};
  event.type = type;
  event.key.keysym.sym = key;
  return event;
}

TEST_F(FrameStepTest, QuitRequestsFrameResetsAndTheCrossFade) {
  const std::pair<SDL_Event, bool> rows[] = {{Event(SDL_QUIT), true},
                                             {Event(SDL_KEYDOWN, SDLK_ESCAPE), true},
                                             {Event(SDL_KEYUP, SDLK_ESCAPE), false},
                                             {Event(SDL_KEYDOWN, SDLK_a), false}};
  for (auto [event, ends] : rows) {
    errorCode = 5.0f;
    currentLine = 12.0f;
    ASSERT_EQ(0, SDL_PushEvent(&event));
    if (ends) {
      EXPECT_FATAL(kErrRegularEnd, FlipFrame());
      EXPECT_EQ(12.0f, errorLine);
    } else {
      FlipFrame();
      EXPECT_EQ(5.0f, errorCode) << int(event.type);
    }
    DrainEvents();
  }
  // Both volume buttons held end it too, unless the combination is switched off; they still
  // answer as the Escape code.
  buttons->words = {kButtonVolumeUp | kButtonVolumeDown};
  EXPECT_FATAL(kErrRegularEnd, FlipFrame());
  SetQuitComboEnabled(0.0f);
  FlipFrame();
  EXPECT_EQ(1, IsKeyDown(1));
  // Every frame resets the drawing state and shows the background.
  RenderTarget& rt = GetRenderTarget();
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
  EXPECT_EQ(std::make_tuple(0, 1.0f, 0, kScreenW, 0, 0),
            std::make_tuple(rt.blend, graphicsDevice->blendAlpha, rt.viewportX, rt.viewportWidth,
                            textureMode3D, device3D->frameFlag));
  EXPECT_EQ(0xF800, rt.colourBuffer[kScreenW * kScreenH - 1]);
  EXPECT_EQ(before, previousFrameClockMs);
  EXPECT_GT(frameClockMs, previousFrameClockMs);
  // The cross-fade steps frames and ends on the image as background.
  // A whole-screen picture of 'B' as a file and, as "packed.bmp", in the pack.
  ScopedTempDir dir;
  Surface image;
  SurfaceFromRows(image, Rows(kScreenH, std::string(kScreenW, 'B')));
  ASSERT_EQ(1, image.SaveBmp(dir.File("new.bmp").c_str()));
  ASSERT_TRUE(WriteFileBytes(dir.File("game.sbx"),
                             MakePack({{"packed.bmp", ReadFileBytes(dir.File("new.bmp"))}})));
  generalResolver = CreateFileResolverContext();
  generalResolver->packName = dir.File("game.sbx");
  SetFrameRateLimit(20.0f);  // 50 ms frames
  // Fades from a screen of 'A' to the image; the number of frames stepped.
  auto fade = [&](const std::string& name) {
    PaintTarget(Rows(kScreenH, std::string(kScreenW, 'A')));
    const std::size_t before = buttons->reads;
    BlendScreenToImage(DynString(name.c_str()));
    return buttons->reads - before;
  };
  for (const std::string& name : {dir.File("new.bmp"), std::string("packed.bmp")}) {
    const f32 start = GetElapsedMs();
    const std::size_t frames = fade(name);
    EXPECT_TRUE(frames >= 25 && frames <= 35) << name << frames;  // 1500 ms of 50 ms frames
    EXPECT_GE(GetElapsedMs() - start, kCrossFadeMs) << name;
    EXPECT_EQ(std::make_tuple(kScreenH, 0, 0, 0),
              std::make_tuple(graphicsDevice->Screen(0)->height, graphicsDevice->Screen(1)->height,
                              graphicsDevice->Screen(2)->height, GetRenderTarget().blend));
    EXPECT_EQ(LetterPixel('B'), PixelAt(kScreenW / 2, kScreenH / 2)) << name;
  }
  testing::internal::CaptureStdout();
  EXPECT_EQ(0u, fade("absent.bmp"));  // a name that does not resolve changes nothing
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(LetterPixel('A'), PixelAt(0, 0));
  DeleteFileResolverContext(generalResolver);
}

}  // namespace

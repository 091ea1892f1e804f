// The commands that step frames: the cross-fade on the fake clock (also for an image inside the
// pack) and the screen-mode change.
#include <unistd.h>

#include <string>

#include "core/clocks.h"
#include "core/startup/frame_commands.h"
#include "files/file_resolver.h"
#include "media/graphics_commands.h"
#include "tests/files/files_fixture.h"
#include "tests/media/media_test_util.h"
#include "tests/runtime/runtime_fixture.h"

namespace {

class FrameCommandsTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    savedCwd_ = cwd;
    ASSERT_EQ(0, chdir(dir_.path().c_str()));
    generalResolver = CreateFileResolverContext();
    // A whole-screen picture of 'B' beside the program and, as "packed.bmp", in its pack.
    Surface image;
    SurfaceFromRows(image, Rows(kScreenH, std::string(kScreenW, 'B')));
    ASSERT_EQ(1, image.SaveBmp(dir_.File("new.bmp").c_str()));
    ASSERT_TRUE(WriteFileBytes(dir_.File("game.sbx"),
                               MakePack({{"packed.bmp", ReadFileBytes(dir_.File("new.bmp"))}})));
    generalResolver->packName = dir_.File("game.sbx");
    SetFrameRateLimit(20.0f);  // 50 ms frames
  }
  void TearDown() override {
    DeleteFileResolverContext(generalResolver);
    ASSERT_EQ(0, chdir(savedCwd_.c_str()));
    RuntimeTest::TearDown();
  }
  // Fades from a screen of 'A' to the image; the number of frames stepped.
  std::size_t Fade(const char* name) {
    PaintTarget(Rows(kScreenH, std::string(kScreenW, 'A')));
    const std::size_t before = buttons->reads;
    BlendScreenToImage(DynString(name));
    return buttons->reads - before;
  }

  ScopedTempDir dir_;

 private:
  std::string savedCwd_;
};

TEST_F(FrameCommandsTest, CrossFadeEndsOnTheImageAsBackground) {
  for (const char* name : {"new.bmp", "NEW.BMP", "packed.bmp"}) {
    const f32 start = GetElapsedMs();
    const std::size_t frames = Fade(name);
    // About 1500 ms of 50 ms frames, and the final frame.
    EXPECT_GE(frames, 25u) << name;
    EXPECT_LE(frames, 35u) << name;
    EXPECT_GE(GetElapsedMs() - start, kCrossFadeMs) << name;
    EXPECT_EQ(kScreenH, graphicsDevice->Screen(0)->height) << name;
    EXPECT_EQ(0, graphicsDevice->Screen(1)->height);
    EXPECT_EQ(0, graphicsDevice->Screen(2)->height);
    EXPECT_EQ(0, GetRenderTarget().blend);
    EXPECT_EQ(LetterPixel('B'), PixelAt(kScreenW / 2, kScreenH / 2)) << name;
  }
}

TEST_F(FrameCommandsTest, UnresolvableImageChangesNothing) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(0u, Fade("absent.bmp"));
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(LetterPixel('A'), PixelAt(0, 0));
}

TEST_F(FrameCommandsTest, ScreenModeStoresTheSettingsAndStepsFiveFrames) {
  const std::size_t before = buttons->reads;
  SetScreenMode(320, 240, 0);
  EXPECT_EQ(5u, buttons->reads - before);
  EXPECT_EQ(320, screenWidth);
  EXPECT_EQ(240, screenHeight);
  EXPECT_EQ(0, windowActive);
  EXPECT_EQ(kScreenW, GetRenderTarget().width);  // the back buffer keeps its size
}

}  // namespace

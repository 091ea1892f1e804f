// One whole start-up in a child process under the dummy drivers: InitRuntime, one frame, the
// program's end. The shell, the launcher and the executable's path are stand-ins that print what
// they are asked, so the exact standard output shows the order of everything. And the release of
// what start-up creates.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "core/clocks.h"
#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "runtime/frame_step.h"
#include "runtime/runtime_globals.h"
#include "runtime/runtime_startup.h"
#include "files/file_resolver.h"
#include "media/font_commands.h"
#include "media/graphics_device.h"
#include "media/input_device.h"
#include "media/sound.h"
#include "net/net_session.h"
#include "platform/platform_ops.h"
#include "tests/media/media_test_util.h"
#include "tests/support/test_support.h"

namespace {

std::string exePath;  // what the executable's link reads, in the child
bool returnFromMain = false;  // the program ends by returning from its main, not by END

void StartLikeTheProgram() {
  InstallPrintingPlatform(exePath);
  PlatformOps& ops = Platform();
  ops.changeDir = [](const char* path) {  // the folder changes for real
    const std::string folder = exePath.substr(0, exePath.rfind('/'));
    std::printf("chdir %s\n", folder == path ? "<exe folder>" : path);
    return chdir(path);
  };
  ops.gpioPath = exePath + "-no-button-device";
  unsetenv("STAKKO_BUTTONS");
  ResetRuntimeGlobalsForTests();  // the start-up settings as the program stores them
  screenWidth = 320;
  screenHeight = 240;
  framesPerSecond = 30;
  windowActive = 1;
  std::printf("result %d\n", InitRuntime(0, 0, 0, 0, "Stakko"));
  char cwd[4096];
  std::printf("cwd %d\n", exePath.substr(0, exePath.rfind('/')) == getcwd(cwd, sizeof cwd));
  std::printf("packs %d\n",
              generalResolver->packName == exePath && musicResolver->packName == exePath);
  i32 cw = 0, ch = 0;
  GetFontSizeCommand(&cw, &ch);
  std::printf("font %dx%d, frame time %g\n", cw, ch, GetFrameTime());
  FlipFrame();
  // As a return from main: the exit handler runs the end after the statics that start-up made
  // are destroyed.
  if (returnFromMain) std::exit(0);
  EndCommand();
}

TEST(RuntimeStartUp, WholeStartUpWithTheFontFoundBesideTheExecutableOrBuiltInAndTheRelease) {
  // With no font file the built-in font stays; a "SmalFont.bmp" beside the executable (16 x 8
  // pixels: 128 glyphs of 1 x 1) is found after "smalfont.png" was asked for. The second program
  // returns from its main instead of ending: the same end follows.
  for (const bool fontFile : {false, true}) {
    returnFromMain = fontFile;
    ScopedTempDir dir;
    exePath = dir.File("game");
    ASSERT_TRUE(WriteFileBytes(exePath,
                               "\x7f"
                               "ELF and no pack"));
    Surface font;
    SurfaceFromRows(font, Rows(8, std::string(16, 'A')));
    if (fontFile) {
      ASSERT_EQ(1, font.SaveBmp(dir.File("SmalFont.bmp").c_str()));
    }
    const ChildResult child = RunInChild(StartLikeTheProgram);
    EXPECT_EQ(0, child.exitStatus);
    EXPECT_EQ(std::string("shell clear\n"
                          "Init GFX\nSet Vidmode\nScreen BPP: 16\n\nFBO\nViewport\nGFX seem OK\n"
                          "Init Network\nInit Input\nInit Sound\nInit Window\n"
                          "GPIO device not present"  // no newline of its own
                          "chdir <exe folder>\n"
                          "GPIO READ ERROR\n"  // the "Loading..." frame
                          "request: fopen(\"smalfont.png\", \"rb\") failed\n") +
                  (fontFile ? "" : "request: fopen(\"smalfont.bmp\", \"rb\") failed\n") +
                  "shell killall -9 gp2xmenu\nInit Finalized\n"
                  "result 0\ncwd 1\npacks 1\n" +
                  (fontFile ? "font 1x1" : "font 8x8") +
                  ", frame time 1\n"
                  "GPIO READ ERROR\n"
                  "shell sync\nchdir <exe folder>\n"
                  "exec gp2xmenu.pge gp2xmenu.gpe\nexec gp2xmenu.pgu gp2xmenu.gpu\n"
                  "exec gp2xmenu gp2xmenu\nchdir /usr/gp2x\nexec gp2xmenu gp2xmenu\n",
              child.output);
  }
  // Everything start-up creates goes (the sanitizer build sees any leak), the pointers are
  // cleared, and a second release finds nothing to do.
  ResetRuntimeGlobalsForTests();
  graphicsDevice = new OpenGLRainbows();
  inputDevice = new InputDevice();
  inputDevice->SetButtonSource(std::make_unique<ScriptedButtonSource>());
  inputDevice->Open(false);
  audioDevice = new AudioDevice();
  audioDevice->Open();
  soundSlots = new SoundSlot[kSoundSlotCount];
  netSession = NetCreateSession();
  musicResolver = CreateFileResolverContext();
  generalResolver = CreateFileResolverContext();
  for (int pass = 0; pass < 2; ++pass) {
    ReleaseRuntimeObjects();
    EXPECT_TRUE(!graphicsDevice && !inputDevice && !soundSlots && !audioDevice && !netSession &&
                !musicResolver && !generalResolver);
  }
}

}  // namespace

// InitRuntime.
#include "runtime/runtime_startup.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/clocks.h"
#include "core/exe_path.h"
#include "core/float_convert.h"
#include "core/random.h"
#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "runtime/frame_step.h"
#include "files/file_resolver.h"
#include "media/font_commands.h"
#include "media/graphics_commands.h"
#include "media/graphics_device.h"
#include "media/input_device.h"
#include "media/sound.h"
#include "net/net_session.h"
#include "platform/platform_ops.h"
#include "scene3d/rainbows3d.h"

namespace {

const char kLoadingText[] = "Loading...";
constexpr f32 kLoadingTextLength = 10.0f;

void ResetClocks() {
  startClockMs = GetTicksMs();
  frameClockMs = startClockMs;
  previousFrameClockMs = startClockMs;
}

void OpenWindow(const char* name) {
  if (windowActive != 0) {
    graphicsDevice->Activate();
  } else {
    graphicsDevice->Deactivate();
  }
  inputDevice->Open(grabInput != 0);
  SDL_WM_SetCaption(name, "");
  if (grabInput != 0) SDL_WM_GrabInput(SDL_GRAB_ON);
}

void SetUpFiles(const std::string& exePath) {
  musicResolver = CreateFileResolverContext();
  generalResolver = CreateFileResolverContext();
  // Pack entries are looked for in the executable file itself.
  DynString general(exePath.c_str());
  DynString music(exePath.c_str());
  SetFileResolverBase(general, music);
  Platform().changeDir(CutToDirectory(exePath).c_str());
}

void ShowLoadingFrame() {
  f32 w = 0.0f;
  f32 h = 0.0f;
  GetScreenSizeCommand(&w, &h);
  LoadFontFile(DynString(), 0);  // the built-in font
  f32 cw = 0.0f;
  f32 ch = 0.0f;
  GetFontSizeCommand(&cw, &ch);
  PrintTextCommand(DynString(kLoadingText), (w - kLoadingTextLength * cw) * 0.5f,
                   (h - ch) * 0.5f);
  FlipFrame();
}

// Font 0 from "smalfont.png", else "smalfont.bmp"; the built-in font stays when neither exists.
void LoadFileFont() {
  char path[kResolvedPathSize];
  for (const char* name : {"smalfont.png", "smalfont.bmp"}) {
    if (ResolveFile(generalResolver, name, path, true) != 0) {
      LoadFontFile(DynString(path), 0);
      return;
    }
  }
}

}  // namespace

i32 InitRuntime(i32 arg0, i32 arg1, i32 arg2, i32 arg3, const char* name) {
  (void)arg1, (void)arg2, (void)arg3;
  SetShutdownHandler(ReleaseRuntimeObjects);
  Platform().runShell("clear");
  std::atexit(EndProgramAtExit);
  SDL_Init(SDL_INIT_TIMER);

  std::puts("Init GFX");
  graphicsDevice = new OpenGLRainbows();
  if (graphicsDevice->InitVideo(arg0, screenWidth, screenHeight, 0, framesPerSecond, videoFlag) ==
      0) {
    return 0;
  }
  projectName.AssignCString(name != nullptr ? name : "");
  IsaacSeed(static_cast<u32>(TruncToI32(GetElapsedMs())));

  std::puts("Init Network");
  netSession = NetCreateSession();
  device3D = new Rainbows3D(graphicsDevice);

  std::puts("Init Input");
  inputDevice = new InputDevice();

  std::puts("Init Sound");
  audioDevice = new AudioDevice();
  audioDevice->Open();
  soundSlots = new SoundSlot[kSoundSlotCount];

  std::puts("Init Window");
  OpenWindow(projectName.CStr());
  currentFont = 0;

  SetUpFiles(ReadExecutablePath());
  ResetDrawState();
  ResetClocks();
  graphicsDevice->PresentFrame();
  graphicsDevice->SetViewport(0, 0, 0, 0);
  ShowLoadingFrame();
  LoadFileFont();
  SetCurrentFont(0);
  ResetClocks();

  Platform().runShell("killall -9 gp2xmenu");
  std::puts("Init Finalized");
  return 0;
}

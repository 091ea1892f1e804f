// Opening the 16-bit video mode and the back buffer. SDL's video failing to start, or refusing
// the mode, ends the process with status 1 (the end of program still runs as exit handler): the
// runtime cannot draw without them.
#include <SDL.h>
#include <unistd.h>

#include <cstdio>

#include "core/clocks.h"
#include "media/frame_pacing.h"
#include "media/graphics_device.h"
#include "media/render_target.h"
#include "platform/platform_ops.h"

namespace {

constexpr i32 kVideoBitsPerPixel = 16;

[[noreturn]] void FailVideoStartUp(const char* format) {
  std::fflush(stdout);  // the progress lines so far come first
  std::fprintf(stderr, format, SDL_GetError());
  std::fflush(stderr);
  Platform().exitProcess(1);
  _exit(1);  // only a test replacement of the exit returns
}

}  // namespace

i32 OpenGLRainbows::InitVideo(i32 unused0, i32 w, i32 h, i32 unused1, i32 fps, i32 videoArgument) {
  (void)unused0;
  (void)unused1;
  frameMs = FrameIntervalMs(fps);
  videoArg = videoArgument;
  if (SDL_Init(SDL_INIT_VIDEO) < 0) FailVideoStartUp("Couldn't initialize SDL: %s\n");
  std::puts("Set Vidmode");
  SDL_Surface* screen = SDL_SetVideoMode(w, h, kVideoBitsPerPixel, SDL_DOUBLEBUF);
  if (screen == nullptr) FailVideoStartUp("Couldn't set video mode: %s\n");
  std::printf("Screen BPP: %d\n", screen->format->BitsPerPixel);
  std::printf("\n");
  bpp = kVideoBitsPerPixel;
  width = w;
  height = h;
  active = 0;
  GetRenderTarget().Resize(0, w, h, 0);
  nextFrameMs = GetTicksMs();
  std::puts("FBO");
  EmptyGraphicsHook();
  std::puts("Viewport");
  SetViewport(0, 0, 0, 0);
  std::puts("GFX seem OK");
  initialised = 1;
  return 1;
}

// Bringing the runtime up and down around a game test, and the probes of the back buffer.
#include "tests/game/game_runtime.h"

#include <memory>

#include "core/runtime_globals.h"
#include "core/startup/frame_step.h"
#include "core/startup/runtime_startup.h"
#include "files/file_resolver.h"
#include "media/font_commands.h"
#include "media/graphics_commands.h"
#include "media/graphics_device.h"
#include "media/input_device.h"
#include "media/music.h"
#include "media/pixel_format.h"
#include "media/sound.h"

namespace {

constexpr i32 kScreenW = 320;
constexpr i32 kScreenH = 240;

}  // namespace

GameRuntime::GameRuntime() {
  ResetRuntimeGlobalsForTests();
  SetQuitComboEnabled(1.0f);
  testing::internal::CaptureStdout();  // the video and audio start-up's progress lines
  graphicsDevice = new OpenGLRainbows();
  graphicsDevice->InitVideo(0, kScreenW, kScreenH, 0, 30, 0);
  inputDevice = new InputDevice();
  auto source = std::make_unique<ScriptedButtonSource>(std::vector<u32>{0});
  buttons = source.get();
  inputDevice->SetButtonSource(std::move(source));
  inputDevice->Open(false);
  audioDevice = new AudioDevice();
  audioDevice->Open();
  soundSlots = new SoundSlot[kSoundSlotCount];
  musicResolver = CreateFileResolverContext();
  generalResolver = CreateFileResolverContext();
  testing::internal::GetCapturedStdout();
  LoadFontFile(DynString(), 1);
  LoadFontFile(DynString(), 0);
  ResetDrawState();
}

GameRuntime::~GameRuntime() {
  ReleaseRuntimeObjects();
  ResetRuntimeGlobalsForTests();
}

void GameRuntime::Hold(u32 word) { buttons->words = {word}; }

void MakeMarkerSprite(i32 sprite, u32 colour, i32 w, i32 h) {
  ResetDrawState();
  FillRectCommand(0, 0, w, h, colour);
  GrabSpriteCommand(sprite, 0, 0, w, h);
  ResetDrawState();
}

std::vector<Sprite> DrawnMarkers(const std::vector<std::pair<i32, u32>>& markers) {
  std::vector<Sprite> found;
  for (const auto& [sprite, colour] : markers)
    for (i32 y = 0; y < kScreenH; ++y)
      for (i32 x = 0; x < kScreenW; ++x) {
        if (GetPixelCommand(x, y) == colour) found.emplace_back(sprite, x, y);
      }
  return found;
}

void ClearScreen() { ResetDrawState(); }

i32 PixelsUnlike(i32 x, i32 y, i32 w, i32 h, u32 colour) {
  i32 unlike = 0;
  for (i32 j = y; j < y + h; ++j)
    for (i32 i = x; i < x + w; ++i) unlike += GetPixelCommand(i, j) != colour ? 1 : 0;
  return unlike;
}

u32 SpritePixel(i32 sprite, i32 x, i32 y) {
  const Surface* s = graphicsDevice->Sprite(sprite);
  if (s == nullptr || x < 0 || y < 0 || x >= s->width || y >= s->height) return 0xFFFFFFFF;
  const u16 p = s->pixels[y * s->width + x];
  return PixelRed8(p) | static_cast<u32>(PixelGreen8(p)) << 8 |
         static_cast<u32>(PixelBlue8(p)) << 16;
}

bool SpriteShownAt(i32 sprite, i32 x, i32 y) {
  const auto [w, h] = SpriteSize(sprite);
  if (w == 0 || h == 0) return false;
  for (i32 j = 0; j < h; ++j)
    for (i32 i = 0; i < w; ++i) {
      const u32 pixel = SpritePixel(sprite, i, j);
      if (pixel != 0 && GetPixelCommand(x + i, y + j) != pixel) return false;
    }
  return true;
}

std::pair<i32, i32> SpriteSize(i32 sprite) {
  const SizePair size = graphicsDevice->GetSpriteSize(sprite);
  return {size.width, size.height};
}

// Blitting speed of the 2D layer against SDL 1.2's own blitter on the same 16-bit pixels: a
// 32 x 32 colour-keyed sprite, the same sprite alpha-blended, and a full-screen background.
// Each SDL benchmark reports "ours/sdl", the time of this project's draw divided by SDL's
// (below 1: ours is faster); the project's benchmark of a pair runs first.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include "media/render_target.h"
#include "media/rgba_image.h"
#include "media/surface.h"
#include "bench/time_loop.h"

namespace {

constexpr i32 kScreenW = 320, kScreenH = 240, kSprite = 32;
constexpr u16 kKey = 0xF810;

// A sprite with a transparent corner region, so that about a third of its rows hold key pixels.
void MakeSprite(Surface& sprite) {
  RgbaImage picture;
  SizeRgbaImage(picture, kSprite, kSprite);
  for (i32 y = 0; y < kSprite; ++y) {
    for (i32 x = 0; x < kSprite; ++x) {
      u8* p = picture.rgba + (y * kSprite + x) * 4;
      p[0] = static_cast<u8>(x * 8);
      p[1] = static_cast<u8>(y * 8);
      p[2] = 90;
      p[3] = (x + y < 12) ? 0 : 255;
    }
  }
  sprite.FromRgba(picture, 0x008000FF, nullptr);
  ReleaseRgbaImage(picture);
}

SDL_Surface* SdlCopy(const Surface& s) {
  SDL_Surface* out =
      SDL_CreateRGBSurface(SDL_SWSURFACE, s.width, s.height, 16, 0xF800, 0x07E0, 0x001F, 0);
  for (i32 y = 0; y < s.height; ++y) {
    auto* row = reinterpret_cast<u16*>(static_cast<u8*>(out->pixels) + y * out->pitch);
    for (i32 x = 0; x < s.width; ++x) row[x] = s.pixels[y * s.width + x];
  }
  return out;
}

SDL_Surface* SdlScreen() {
  return SDL_CreateRGBSurface(SDL_SWSURFACE, kScreenW, kScreenH, 16, 0xF800, 0x07E0, 0x001F, 0);
}

// Nanoseconds per iteration of the last "ours" benchmark, for the ratio of the next SDL one.
double oursNs = 0.0;

void ReportRatio(benchmark::State& state, double sdlNs) {
  if (sdlNs > 0.0) state.counters["ours/sdl"] = oursNs / sdlNs;
}

void OursKeyedSprite(benchmark::State& state) {
  RenderTarget& rt = GetRenderTarget();
  rt.Resize(0, kScreenW, kScreenH, 0);
  rt.SetBlend(0);
  Surface sprite;
  MakeSprite(sprite);
  oursNs = TimeLoop(state, [&] {
    sprite.Draw(100, 100, 0, 0, kSprite, kSprite);
    benchmark::DoNotOptimize(rt.colourBuffer);
  });
}

void SdlKeyedSprite(benchmark::State& state, Uint32 flags) {
  Surface sprite;
  MakeSprite(sprite);
  SDL_Surface* src = SdlCopy(sprite);
  SDL_Surface* dst = SdlScreen();
  SDL_SetColorKey(src, SDL_SRCCOLORKEY | flags, kKey);
  SDL_Rect at{100, 100, 0, 0};
  double ns = TimeLoop(state, [&] {
    SDL_Rect r = at;
    SDL_BlitSurface(src, nullptr, dst, &r);
    benchmark::DoNotOptimize(dst->pixels);
  });
  ReportRatio(state, ns);
  SDL_FreeSurface(src);
  SDL_FreeSurface(dst);
}

void OursAlphaSprite(benchmark::State& state) {
  RenderTarget& rt = GetRenderTarget();
  rt.Resize(0, kScreenW, kScreenH, 0);
  Surface sprite;
  MakeSprite(sprite);
  rt.SetBlend(-128);
  oursNs = TimeLoop(state, [&] {
    sprite.Draw(100, 100, 0, 0, kSprite, kSprite);
    benchmark::DoNotOptimize(rt.colourBuffer);
  });
  rt.SetBlend(0);
}

void SdlAlphaSprite(benchmark::State& state) {
  Surface sprite;
  MakeSprite(sprite);
  SDL_Surface* src = SdlCopy(sprite);
  SDL_Surface* dst = SdlScreen();
  SDL_SetColorKey(src, SDL_SRCCOLORKEY, kKey);
  SDL_SetAlpha(src, SDL_SRCALPHA, 128);
  double ns = TimeLoop(state, [&] {
    SDL_Rect r{100, 100, 0, 0};
    SDL_BlitSurface(src, nullptr, dst, &r);
    benchmark::DoNotOptimize(dst->pixels);
  });
  ReportRatio(state, ns);
  SDL_FreeSurface(src);
  SDL_FreeSurface(dst);
}

void MakeBackground(Surface& background) {
  RenderTarget& rt = GetRenderTarget();
  rt.Resize(0, kScreenW, kScreenH, 0);
  for (i32 i = 0; i < rt.pixelCount; ++i) rt.colourBuffer[i] = static_cast<u16>(i * 7);
  background.GrabWhole();
}

void OursBackground(benchmark::State& state) {
  Surface background;
  MakeBackground(background);
  RenderTarget& rt = GetRenderTarget();
  oursNs = TimeLoop(state, [&] {
    DrawBackground(background);
    benchmark::DoNotOptimize(rt.colourBuffer);
  });
}

void SdlBackground(benchmark::State& state) {
  Surface background;
  MakeBackground(background);
  SDL_Surface* src = SdlCopy(background);
  SDL_Surface* dst = SdlScreen();
  double ns = TimeLoop(state, [&] {
    SDL_BlitSurface(src, nullptr, dst, nullptr);
    benchmark::DoNotOptimize(dst->pixels);
  });
  ReportRatio(state, ns);
  SDL_FreeSurface(src);
  SDL_FreeSurface(dst);
}

BENCHMARK(OursKeyedSprite);
BENCHMARK_CAPTURE(SdlKeyedSprite, colour_key, Uint32{0});
BENCHMARK(OursKeyedSprite);
BENCHMARK_CAPTURE(SdlKeyedSprite, colour_key_rle, Uint32{SDL_RLEACCEL});
BENCHMARK(OursAlphaSprite);
BENCHMARK(SdlAlphaSprite);
BENCHMARK(OursBackground);
BENCHMARK(SdlBackground);

}  // namespace

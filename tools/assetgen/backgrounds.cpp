// The five backgrounds, one per band of levels: a neon night with a grid floor (also behind the
// title and the high-score table), an underwater scene, a mountain sunset, an aurora over a
// pine forest and deep space. All are painted procedurally and dithered for the 16-bit screen.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/assetgen/asset_sizes.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/picture_assets.h"
#include "tools/assetgen/shapes.h"

using namespace sizes;

namespace {

constexpr f32 kPi = std::numbers::pi_v<f32>;

f32 Fraction(f32 v) { return v - std::floor(v); }

// Stars: scattered light pixels, a few with a faint cross, above row `below`.
void Stars(Canvas& c, i32 count, i32 below, u32 seed) {
  Rng rng(seed);
  for (i32 k = 0; k < count; ++k) {
    const i32 x = rng.Below(kScreenW), y = rng.Below(below);
    const f32 bright = rng.Range(0.3f, 1.0f);
    c.Blend(x, y, {255, 255, 240}, bright);
    if (bright > 0.9f) {
      for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        c.Blend(x + dx, y + dy, {200, 210, 255}, 0.4f);
      }
    }
  }
}

void Disc(Canvas& c, f32 cx, f32 cy, f32 r, Rgb colour, f32 strength) {
  for (i32 y = TruncToI32(cy - r - 1); y <= TruncToI32(cy + r + 1); ++y) {
    for (i32 x = TruncToI32(cx - r - 1); x <= TruncToI32(cx + r + 1); ++x) {
      const f32 d = std::hypot(x - cx, y - cy);
      if (d <= r) c.Blend(x, y, colour, strength);
    }
  }
}

// Neon night: violet sky, a striped setting sun and a glowing grid floor running to the horizon.
Canvas NeonNight() {
  Canvas c(kScreenW, kScreenH);
  constexpr i32 kHorizon = 150;
  for (i32 y = 0; y < kScreenH; ++y) {
    for (i32 x = 0; x < kScreenW; ++x) {
      if (y < kHorizon) {
        c.Set(x, y,
              Mix({14, 10, 42}, {96, 34, 112}, std::pow(static_cast<f32>(y) / kHorizon, 1.6f)));
        continue;
      }
      const f32 depth = static_cast<f32>(y - kHorizon + 1);
      Rgb floor = Mix({44, 14, 70}, {22, 10, 46}, depth / (kScreenH - kHorizon));
      // Floor coordinates of the pixel: across grows with the screen offset over the depth,
      // along shrinks with the depth; a line's distance in pixels scales back by the same.
      constexpr f32 kAcross = 20.0f, kAlong = 240.0f, kCellA = 8.0f, kCellB = 2.0f;
      const f32 across = (x - kScreenW / 2.0f) * kAcross / depth;
      const f32 along = kAlong / depth;
      const f32 lineA =
          std::fabs(Fraction(across / kCellA + 0.5f) - 0.5f) * kCellA * depth / kAcross;
      const f32 lineB =
          std::fabs(Fraction(along / kCellB + 0.5f) - 0.5f) * kCellB * depth * depth / kAlong;
      const f32 glow =
          std::max(std::max(0.0f, 1.0f - lineA / 1.2f), std::max(0.0f, 1.0f - lineB / 1.2f));
      const f32 fade = std::min(1.0f, depth / 40.0f);
      floor = Mix(floor, {255, 70, 200}, glow * (0.15f + 0.85f * fade));
      c.Set(x, y, floor);
    }
  }
  Stars(c, 90, kHorizon - 40, 7);
  // The sun, its lower half cut by widening bands.
  constexpr f32 kSunX = 160.0f, kSunR = 74.0f;
  for (i32 y = kHorizon - TruncToI32(kSunR); y < kHorizon; ++y) {
    const f32 below = static_cast<f32>(y - (kHorizon - kSunR)) / kSunR;  // 0 top .. 1 horizon
    const i32 band = (kHorizon - 1 - y) % 9;
    if (below > 0.45f && band < TruncToI32((below - 0.35f) * 7.0f)) continue;
    for (i32 x = 0; x < kScreenW; ++x) {
      const f32 d = std::hypot(x - kSunX, y - static_cast<f32>(kHorizon));
      if (d > kSunR) continue;
      c.Set(x, y, Mix({255, 226, 110}, {255, 64, 150}, below));
    }
  }
  // A haze along the horizon.
  for (i32 y = kHorizon - 6; y < kHorizon + 6; ++y) {
    for (i32 x = 0; x < kScreenW; ++x) {
      c.Blend(x, y, {255, 120, 210}, 0.35f * (1.0f - std::fabs(y - kHorizon + 0.5f) / 6.0f));
    }
  }
  return c;
}

// Under water: light from above in slanting rays, rising bubbles, dunes on the sea floor.
Canvas Underwater() {
  Canvas c(kScreenW, kScreenH);
  for (i32 y = 0; y < kScreenH; ++y) {
    const f32 t = static_cast<f32>(y) / (kScreenH - 1);
    for (i32 x = 0; x < kScreenW; ++x) {
      Rgb water = Mix({24, 120, 160}, {8, 26, 66}, std::pow(t, 0.8f));
      const f32 ray = std::sin((x + y * 0.45f) * 0.045f) * std::sin((x - y * 0.2f) * 0.021f + 1.0f);
      water = Mix(water, {150, 240, 255}, std::max(0.0f, ray) * 0.22f * (1.0f - t));
      const f32 caustic = FractalNoise(x * 0.06f, y * 0.09f, 31, 3);
      water = Shade(water, (caustic - 0.5f) * 0.18f * (1.0f - t));
      c.Set(x, y, water);
    }
  }
  // Dunes.
  for (i32 x = 0; x < kScreenW; ++x) {
    const f32 top = 205.0f + 10.0f * std::sin(x * 0.03f) + 6.0f * std::sin(x * 0.071f + 2.0f);
    for (i32 y = TruncToI32(top); y < kScreenH; ++y) {
      const f32 d = (y - top) / 30.0f;
      c.Set(x, y,
            Mix({70, 96, 110}, {20, 40, 60}, d + FractalNoise(x * 0.2f, y * 0.2f, 5, 2) * 0.25f));
    }
  }
  Rng rng(11);
  for (i32 k = 0; k < 46; ++k) {
    const f32 x = rng.Range(4, kScreenW - 4), y = rng.Range(6, 200), r = rng.Range(1.5f, 5.0f);
    for (i32 py = TruncToI32(y - r - 1); py <= TruncToI32(y + r + 1); ++py) {
      for (i32 px = TruncToI32(x - r - 1); px <= TruncToI32(x + r + 1); ++px) {
        const f32 d = std::hypot(px - x, py - y);
        if (d <= r && d > r - 1.0f)
          c.Blend(px, py, {190, 240, 255}, 0.7f);
        else if (d <= r - 1.0f)
          c.Blend(px, py, {120, 200, 240}, 0.15f);
      }
    }
    c.Blend(TruncToI32(x - r * 0.4f), TruncToI32(y - r * 0.4f), {255, 255, 255}, 0.9f);
  }
  return c;
}

// The height of a ridge line at x: fractal noise scaled to `amplitude` pixels around `base`.
f32 Ridge(i32 x, f32 base, f32 amplitude, f32 scale, u32 seed) {
  const f32 n = FractalNoise(x * scale, 0.5f, seed, 4);
  return base - amplitude * (n * 2.0f - 0.6f);
}

// Sunset: warm sky, a big low sun, three ranges of mountains fading into the haze.
Canvas Sunset() {
  Canvas c(kScreenW, kScreenH);
  for (i32 y = 0; y < kScreenH; ++y) {
    const f32 t = static_cast<f32>(y) / 170.0f;
    const Rgb sky = t < 0.55f ? Mix({60, 36, 116}, {210, 80, 120}, t / 0.55f)
                              : Mix({210, 80, 120}, {255, 176, 90}, (t - 0.55f) / 0.45f);
    c.FillRect(0, y, kScreenW, 1, sky);
  }
  Disc(c, 232.0f, 128.0f, 34.0f, {255, 236, 160}, 1.0f);
  Disc(c, 232.0f, 128.0f, 46.0f, {255, 210, 140}, 0.25f);
  struct Range {
    f32 base, amplitude, scale;
    u32 seed;
    Rgb colour;
  };
  const Range ranges[3] = {{150, 40, 0.012f, 3, {160, 84, 136}},
                           {180, 42, 0.018f, 9, {102, 48, 108}},
                           {212, 36, 0.026f, 17, {46, 22, 64}}};
  for (const Range& range : ranges) {
    for (i32 x = 0; x < kScreenW; ++x) {
      const i32 top = TruncToI32(Ridge(x, range.base, range.amplitude, range.scale, range.seed));
      for (i32 y = std::max(0, top); y < kScreenH; ++y) {
        const f32 lit = y - top < 2 ? 0.18f : 0.0f;  // rim light along the ridge
        c.Set(x, y, Shade(Mix(range.colour, Shade(range.colour, -0.3f), (y - top) / 80.0f), lit));
      }
    }
  }
  return c;
}

// Aurora: curtains of green light over a starry sky, snow hills and a line of pines.
Canvas Aurora() {
  Canvas c(kScreenW, kScreenH);
  for (i32 y = 0; y < kScreenH; ++y) {
    c.FillRect(0, y, kScreenW, 1, Mix({8, 14, 40}, {20, 50, 72}, static_cast<f32>(y) / kScreenH));
  }
  Stars(c, 120, 170, 23);
  for (i32 band = 0; band < 3; ++band) {
    const f32 phase = band * 2.1f, base = 70.0f + band * 28.0f;
    for (i32 x = 0; x < kScreenW; ++x) {
      const f32 centre =
          base + 22.0f * std::sin(x * 0.017f + phase) + 9.0f * std::sin(x * 0.061f + phase * 3.0f);
      const f32 shimmer = 0.6f + 0.4f * std::sin(x * 0.35f + phase) * std::sin(x * 0.11f);
      for (i32 y = 0; y < kScreenH; ++y) {
        const f32 d = centre - y;  // above the curtain's foot the light trails up
        f32 a = d >= 0 ? std::exp(-d / 34.0f) : std::exp(d / 4.0f);
        a *= shimmer * (0.55f - band * 0.12f);
        const Rgb colour = Mix({70, 255, 160}, {150, 90, 255}, std::clamp(d / 70.0f, 0.0f, 1.0f));
        c.Blend(x, y, colour, a);
      }
    }
  }
  // Snow hills and pines.
  for (i32 x = 0; x < kScreenW; ++x) {
    const i32 top =
        TruncToI32(200.0f + 8.0f * std::sin(x * 0.02f) + 5.0f * std::sin(x * 0.05f + 1.0f));
    for (i32 y = top; y < kScreenH; ++y)
      c.Set(x, y, Mix({190, 210, 235}, {90, 110, 150}, (y - top) / 40.0f));
  }
  Rng rng(41);
  for (i32 k = 0; k < 26; ++k) {
    const i32 cx = rng.Below(kScreenW), h = 18 + rng.Below(26);
    const i32 foot = 206 + rng.Below(10);
    for (i32 y = 0; y < h; ++y) {
      const i32 half = (y * 7) / h + 1 - ((y % 6 == 0) ? 1 : 0);
      for (i32 x = -half; x <= half; ++x) c.Set(cx + x, foot - h + y, {14, 40, 44});
    }
    c.FillRect(cx, foot, 1, 3, {40, 28, 24});
  }
  return c;
}

// Deep space: a nebula, stars of every brightness and a ringed planet.
Canvas DeepSpace() {
  Canvas c(kScreenW, kScreenH);
  for (i32 y = 0; y < kScreenH; ++y) {
    for (i32 x = 0; x < kScreenW; ++x) {
      const f32 n = FractalNoise(x * 0.012f, y * 0.016f, 77, 5);
      const f32 m = FractalNoise(x * 0.02f + 9.0f, y * 0.02f, 91, 4);
      Rgb sky = {10, 8, 26};
      sky = Mix(sky, {150, 40, 140}, std::max(0.0f, n - 0.45f) * 1.6f);
      sky = Mix(sky, {40, 90, 200}, std::max(0.0f, m - 0.5f) * 1.5f);
      c.Set(x, y, sky);
    }
  }
  Stars(c, 220, kScreenH, 57);
  constexpr f32 kPx = 236.0f, kPy = 70.0f, kPr = 32.0f;
  // The back half of the ring, the planet, then the front half over it.
  auto ring = [&](bool front) {
    for (i32 k = 0; k < 720; ++k) {
      const f32 a = k * kPi / 360.0f;
      if ((std::sin(a) > 0) != front) continue;
      for (f32 r = 46.0f; r < 58.0f; r += 0.5f) {
        const i32 x = TruncToI32(kPx + r * std::cos(a)),
                  y = TruncToI32(kPy + r * 0.28f * std::sin(a));
        const f32 band = 0.5f + 0.5f * std::sin(r * 1.3f);
        c.Set(x, y, Mix({150, 130, 110}, {230, 210, 170}, band));
      }
    }
  };
  ring(false);
  for (i32 y = TruncToI32(kPy - kPr); y <= TruncToI32(kPy + kPr); ++y) {
    for (i32 x = TruncToI32(kPx - kPr); x <= TruncToI32(kPx + kPr); ++x) {
      const f32 dx = (x - kPx) / kPr, dy = (y - kPy) / kPr;
      if (dx * dx + dy * dy > 1.0f) continue;
      const f32 light = std::clamp(
          0.35f - 0.75f * dx - 0.55f * dy + 0.3f * std::sqrt(1.0f - dx * dx - dy * dy), 0.0f, 1.0f);
      const f32 stripes =
          0.5f + 0.5f * std::sin(dy * 9.0f + FractalNoise(x * 0.1f, y * 0.3f, 3, 2) * 3.0f);
      const Rgb surface = Mix({200, 120, 70}, {240, 190, 120}, stripes);
      c.Set(x, y, Mix({30, 16, 24}, surface, light));
    }
  }
  ring(true);
  return c;
}

PictureAsset Dithered(const char* name, Canvas canvas) {
  DitherFor16Bit(canvas);
  return {name, std::move(canvas)};
}

}  // namespace

void AddBackgrounds(PictureList& out) {
  out.push_back(Dithered("stakkoback.bmp", NeonNight()));
  out.push_back(Dithered("stakkoback4.bmp", Underwater()));
  out.push_back(Dithered("stakkoback3.bmp", Sunset()));
  out.push_back(Dithered("stakkoback2.bmp", Aurora()));
  out.push_back(Dithered("stakkoback5.bmp", DeepSpace()));
}

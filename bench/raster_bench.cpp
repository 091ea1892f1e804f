// The rasterizer against a peer software rasterizer of the same class (Allegro 4.4's
// triangle3d_f, see allegro_peer.h) on the same triangles: the whole 320 x 240 screen as two
// triangles, in 16-pixel cells (600 triangles) and in 4-pixel cells (9600), drawn as affine
// textured with depth test (the peer: affine masked texture with z-buffer), perspective textured
// with depth test (perspective masked texture with z-buffer) and interpolated colour (Gouraud
// RGB). Both get triangles already on the screen. Each benchmark times the drawing only (the
// depth buffers are cleared between frames, untimed) and reports ns per pixel of the screen; the
// peer's reports "ours/peer", the ratio of the two times (below 1: ours is faster).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "bench/allegro_peer.h"
#include "render/shader_selection.h"
#include "render/soft_render_context.h"

namespace {

constexpr u32 kTextureDepth = 9, kColour = 4;  // texture with depth test; colour without

// Our time per frame for each case, for the peer's ratio.
std::map<std::string, double> oursNs;

// Times `draw` per frame, `prepare` untimed before each; reports ns per screen pixel and returns
// the mean ns per frame.
template <class Prepare, class Draw>
double TimeFrames(benchmark::State& state, Prepare prepare, Draw draw) {
  double total = 0.0;
  for (auto _ : state) {
    prepare();
    const auto start = std::chrono::steady_clock::now();
    draw();
    const auto end = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(end - start).count();
    state.SetIterationTime(seconds);
    total += seconds;
  }
  const double frameNs = state.iterations() > 0 ? total * 1e9 / state.iterations() : 0.0;
  state.counters["ns/pixel"] = frameNs / (kBenchWidth * kBenchHeight);
  return frameNs;
}

// This renderer's vertex: 28.4 position, depth (w x 1000) and w in 16.16, then the varyings of
// the configuration (u and v as fractions of the texture, or r, g and b).
ClipVertex OurVertex(const BenchVertex& v, BenchMode mode) {
  auto fixed = [](f32 f) { return static_cast<i32>(f * 65536.0f); };
  ClipVertex out{
      static_cast<i32>(v.x * 16), static_cast<i32>(v.y * 16), fixed(v.w * 1000.0f), fixed(v.w), {}};
  if (mode == BenchMode::kColour) {
    out.varyings[0] = fixed(v.r), out.varyings[1] = fixed(v.g), out.varyings[2] = fixed(v.b);
  } else {
    out.varyings[0] = fixed(v.u / kBenchTexture), out.varyings[1] = fixed(v.v / kBenchTexture);
  }
  return out;
}

void Ours(benchmark::State& state, BenchMode mode, i32 cell, std::string name) {
  static std::vector<u16> colour(kBenchWidth * kBenchHeight), texels = BenchTexture();
  static std::vector<i16> depth(kBenchWidth * kBenchHeight);
  auto ctx = std::make_unique<SoftRenderContext>();
  ctx->BindTargets(colour.data(), depth.data(), kBenchWidth, kBenchHeight);
  ctx->SetViewport(0, 0, kBenchWidth, kBenchHeight);
  ctx->SetTexture(texels.data(), kBenchTexture, kBenchTexture);
  ctx->SetColourKey(kBenchMask, 1);
  ctx->SetPerspectivePath(mode == BenchMode::kPerspective ? 1 : 0, 0);
  const ShaderConfiguration& s =
      ShaderConfigurationOf(mode == BenchMode::kColour ? kColour : kTextureDepth);
  ctx->rasterizer.SelectShader(s.varyingCount, s.triangle, s.line, s.point);
  std::vector<std::array<ClipVertex, 3>> triangles;
  for (const BenchTriangle& t : BenchTriangles(cell)) {
    triangles.push_back({OurVertex(t[0], mode), OurVertex(t[1], mode), OurVertex(t[2], mode)});
  }
  swr::IRasterizer& rasterizer = ctx->rasterizer;
  oursNs[name] = TimeFrames(
      state, [&] { std::fill(depth.begin(), depth.end(), i16{0x7F7F}); },
      [&] {
        for (const auto& [a, b, c] : triangles) rasterizer.DrawTriangle(&a, &b, &c);
        benchmark::ClobberMemory();
      });
}

void Peer(benchmark::State& state, BenchMode mode, i32 cell, std::string name) {
  const std::vector<BenchTriangle> triangles = BenchTriangles(cell);
  const double ns = TimeFrames(
      state, [] { AllegroClearDepth(); },
      [&] {
        AllegroDrawTriangles(mode, triangles);
        benchmark::ClobberMemory();
      });
  if (ns > 0.0) state.counters["ours/peer"] = oursNs[name] / ns;
}

// Registered in pairs, ours first, at start-up: the peer's only when it starts.
const bool kRegistered = [] {
  const bool peer = StartAllegroPeer(BenchTexture());
  const std::pair<const char*, BenchMode> modes[] = {
      {"AffineTextureDepth", BenchMode::kAffine},
      {"PerspectiveTextureDepth", BenchMode::kPerspective},
      {"Colour", BenchMode::kColour}};
  for (const auto& [label, mode] : modes) {
    for (const auto& [cellName, cell] :
         {std::pair{"FullScreen", 0}, {"Cells16", 16}, {"Cells4", 4}}) {
      const std::string name = std::string("Raster/") + label + "/" + cellName;
      benchmark::RegisterBenchmark((name + "/ours").c_str(), Ours, mode, cell, name)
          ->UseManualTime();
      if (peer) {
        benchmark::RegisterBenchmark((name + "/allegro").c_str(), Peer, mode, cell, name)
            ->UseManualTime();
      }
    }
  }
  return true;
}();

}  // namespace

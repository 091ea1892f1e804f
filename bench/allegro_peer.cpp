// Allegro 4.4 as the renderer benchmark's peer (see allegro_peer.h).
#include "bench/allegro_peer.h"

#ifdef STAKKO_HAVE_ALLEGRO4

#include <cerrno>

#define ALLEGRO_NO_MAGIC_MAIN
#include <allegro.h>

namespace {

BITMAP* screenBitmap = nullptr;
BITMAP* textureBitmap = nullptr;
ZBUFFER* zbuffer = nullptr;

V3D_f PeerVertex(const BenchVertex& v) {
  const int colour = (static_cast<int>(v.r * 255) << 16) | (static_cast<int>(v.g * 255) << 8) |
                     static_cast<int>(v.b * 255);
  return {v.x, v.y, v.w, v.u, v.v, colour};
}

}  // namespace

bool StartAllegroPeer(const std::vector<u16>& texels) {
  if (screenBitmap != nullptr) return true;
  if (install_allegro(SYSTEM_NONE, &errno, nullptr) != 0) return false;
  set_color_depth(16);
  screenBitmap = create_bitmap_ex(16, kBenchWidth, kBenchHeight);
  textureBitmap = create_bitmap_ex(16, kBenchTexture, kBenchTexture);
  if (screenBitmap == nullptr || textureBitmap == nullptr) return false;
  for (i32 y = 0; y < kBenchTexture; ++y) {
    auto* row = reinterpret_cast<u16*>(textureBitmap->line[y]);
    for (i32 x = 0; x < kBenchTexture; ++x) row[x] = texels[y * kBenchTexture + x];
  }
  zbuffer = create_zbuffer(screenBitmap);
  set_zbuffer(zbuffer);
  return zbuffer != nullptr;
}

void AllegroClearDepth() { clear_zbuffer(zbuffer, 0.0f); }

void AllegroDrawTriangles(BenchMode mode, const std::vector<BenchTriangle>& triangles) {
  const int type = mode == BenchMode::kAffine        ? POLYTYPE_ATEX_MASK | POLYTYPE_ZBUF
                   : mode == BenchMode::kPerspective ? POLYTYPE_PTEX_MASK | POLYTYPE_ZBUF
                                                     : POLYTYPE_GRGB;
  for (const BenchTriangle& t : triangles) {
    V3D_f a = PeerVertex(t[0]), b = PeerVertex(t[1]), c = PeerVertex(t[2]);
    triangle3d_f(screenBitmap, type, textureBitmap, &a, &b, &c);
  }
}

#else

bool StartAllegroPeer(const std::vector<u16>&) { return false; }
void AllegroClearDepth() {}
void AllegroDrawTriangles(BenchMode, const std::vector<BenchTriangle>&) {}

#endif

// The vertex processors, one instance per vertex format (texture x 4 + colour x 2 + light). Each
// transforms its vertices by the context's combined matrix, copies the format's varyings in the
// order u, v, r, g, b, light, lights the lit formats, and feeds pool indices to the batch through
// a 16-entry direct-mapped post-transform cache that lives for one call.
#include <array>
#include <cstring>
#include <utility>

#include "render/draw_batch.h"
#include "render/fixed_point.h"
#include "render/shader_format.h"
#include "render/soft_render_context.h"
#include "render/vertex_pipeline.h"

namespace {

// (0.5 + 0.5 x (n . L)) x 31: a unit normal facing a unit light gives 31.0, facing away 0. The
// normal is taken as stored, and nothing clamps the result.
i32 Light(const FixedVertex& v, const i32 lightDir[3]) {
  i64 sum = i64{v.nx} * lightDir[0];
  sum = AddWrap64(sum, i64{v.ny} * lightDir[1]);
  sum = AddWrap64(sum, i64{v.nz} * lightDir[2]);
  const i32 d = Wrap32(sum >> 16);
  return MulWrap(AddWrap(kFixedHalf, FixMul(kFixedHalf, d)), 31);
}

template <std::size_t... Formats>
constexpr std::array<VertexPipeline::Processor, sizeof...(Formats)> ProcessorTable(
    std::index_sequence<Formats...>) {
  return {&VertexPipeline::ShadeVerticesBatch<Formats>...};
}

}  // namespace

template <u32 Format>
void VertexPipeline::ShadeVertex(const void* const* records, ClipVertex* out) const {
  FixedVertex src;
  std::memcpy(&src, records[0], sizeof src);
  const i32 position[4] = {src.x, src.y, src.z, kFixedOne};
  const i32* m = context->combined;
  out->x = FixDot4(m, 1, position, 1);
  out->y = FixDot4(m + 4, 1, position, 1);
  out->z = FixDot4(m + 8, 1, position, 1);
  out->w = FixDot4(m + 12, 1, position, 1);
  i32* varying = out->varyings;
  if constexpr (FormatHasTexture(Format)) {
    varying[0] = src.u;
    varying[1] = src.v;
  }
  if constexpr (FormatHasColour(Format)) {
    varying[ColourVarying(Format)] = src.r;
    varying[ColourVarying(Format) + 1] = src.g;
    varying[ColourVarying(Format) + 2] = src.b;
  }
  if constexpr (FormatHasLight(Format))
    varying[LightVarying(Format)] = Light(src, context->lightDir);
}

template <u32 Format>
void VertexPipeline::ShadeVerticesBatch(u32 count, const i32* input) {
  struct CacheEntry {
    i32 index;
    i32 poolIndex;
  };
  CacheEntry cache[16];
  auto empty = [&cache] {
    for (CacheEntry& entry : cache) entry = {-1, -1};
  };
  empty();
  BeginBatchHook();
  const bool readable = input != nullptr && streams[0].data != nullptr && context != nullptr;
  for (u32 i = 0; readable && i < count; ++i) {
    const i32 index = input[i];
    if (index < 0) continue;  // no vertex has a negative number
    CacheEntry& entry = cache[index & 15];
    if (entry.index != index) {
      ClipVertex* v = AllocClipVertex();
      if (v == nullptr) continue;  // a batch flushes long before the pool fills
      const void* records[3] = {StreamRecord(0, index), nullptr, nullptr};
      ShadeVertex<Format>(records, v);
      entry = {index, vertexCount - 1};
    }
    // A flush empties the pool, so the cached pool indices are gone.
    if (AddIndex(entry.poolIndex) != 0) empty();
  }
  FlushPrimitives();
}

// Every format's members exist, whether or not a configuration of it is ever selected.
#define STAKKO_SHADE_FORMAT(F)                                          \
  template void VertexPipeline::ShadeVerticesBatch<F>(u32, const i32*); \
  template void VertexPipeline::ShadeVertex<F>(const void* const*, ClipVertex*) const;
STAKKO_SHADE_FORMAT(0)
STAKKO_SHADE_FORMAT(1)
STAKKO_SHADE_FORMAT(2)
STAKKO_SHADE_FORMAT(3)
STAKKO_SHADE_FORMAT(4)
STAKKO_SHADE_FORMAT(5)
STAKKO_SHADE_FORMAT(6)
STAKKO_SHADE_FORMAT(7)
#undef STAKKO_SHADE_FORMAT

VertexPipeline::Processor VertexPipeline::ProcessorFor(u32 format) {
  static constexpr auto kProcessors = ProcessorTable(std::make_index_sequence<kFormatCount>());
  return kProcessors[format % kFormatCount];
}

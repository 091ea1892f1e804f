// What one shader configuration (vertex format x 2 + depth test) means at compile time: which
// varyings its vertices carry, whether it tests depth, and which interpolant slots its triangle
// drawer uses on each path. Every drawing member is a template over the configuration number, so
// these constants replace every run-time test of the configuration.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

#include "core/types.h"
#include "render/shader_format.h"

#define STAKKO_ALWAYS_INLINE [[gnu::always_inline]] inline

template <u32 Configuration>
struct Shader {
  static constexpr u32 kFormat = FormatOf(Configuration);
  static constexpr bool kDepth = DepthTestOf(Configuration);
  static constexpr bool kTexture = FormatHasTexture(kFormat);
  static constexpr bool kColour = FormatHasColour(kFormat);
  static constexpr bool kLight = FormatHasLight(kFormat);
  static constexpr i32 kVaryings = FormatVaryingCount(kFormat);
  static constexpr i32 kColourAt = ColourVarying(kFormat);  // r; g and b follow
  static constexpr i32 kLightAt = LightVarying(kFormat);
  static constexpr u32 kVaryingBits = (1u << kVaryings) - 1;

  // Interpolant slots as bit sets. Affine path: slot 0 the depth, slot k + 1 varying k.
  // Perspective path: slot 0 q = 1/w, slot 1 the depth (linear), slot k + 2 varying k times q.
  static constexpr u32 kAffineSlots = (kDepth ? 1u : 0u) | (kVaryingBits << 1);
  static constexpr u32 kPerspectiveSlots =
      (kVaryings > 0 ? 1u : 0u) | (kDepth ? 2u : 0u) | (kVaryingBits << 2);
};

// The slots of a triangle edge record: the perspective path's ten (the affine path uses nine).
constexpr i32 kEdgeSlots = 10;

// Calls f(std::integral_constant<i32, s>) for every slot s in the set, unrolled at compile time;
// f is not even instantiated for the slots outside the set.
template <u32 Slots, std::size_t S, class F>
STAKKO_ALWAYS_INLINE void CallForSlot(F& f) {
  if constexpr (((Slots >> S) & 1u) != 0) f(std::integral_constant<i32, static_cast<i32>(S)>{});
}
template <u32 Slots, class F>
STAKKO_ALWAYS_INLINE void ForEachSlot(F&& f) {
  [&]<std::size_t... S>(std::index_sequence<S...>) [[gnu::always_inline]] {
    (CallForSlot<Slots, S>(f), ...);
  }(std::make_index_sequence<kEdgeSlots>{});
}

// Every drawing member exists for all sixteen configurations, selected or not.
#define STAKKO_FOR_EACH_CONFIGURATION(M) \
  M(0) M(1) M(2) M(3) M(4) M(5) M(6) M(7) M(8) M(9) M(10) M(11) M(12) M(13) M(14) M(15)

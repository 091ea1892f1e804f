// The eight vertex formats: which varyings a vertex carries to the drawing members. A format is a
// bit set, texture x 4 + colour x 2 + light; together with the depth mode it picks one of sixteen
// shader configurations (configuration = format x 2 + depth test), and every per-format or
// per-configuration member is one template instantiated for each number.
#pragma once

#include "core/types.h"

constexpr u32 kFormatLight = 1;
constexpr u32 kFormatColour = 2;
constexpr u32 kFormatTexture = 4;
constexpr u32 kFormatCount = 8;
constexpr u32 kConfigurationCount = kFormatCount * 2;

constexpr bool FormatHasTexture(u32 format) { return (format & kFormatTexture) != 0; }
constexpr bool FormatHasColour(u32 format) { return (format & kFormatColour) != 0; }
constexpr bool FormatHasLight(u32 format) { return (format & kFormatLight) != 0; }

// Varying positions, in the fixed order u, v, r, g, b, light with the absent ones dropped (u and v
// come first when present).
constexpr i32 ColourVarying(u32 format) { return FormatHasTexture(format) ? 2 : 0; }
constexpr i32 LightVarying(u32 format) {
  return ColourVarying(format) + (FormatHasColour(format) ? 3 : 0);
}
constexpr i32 FormatVaryingCount(u32 format) {
  return LightVarying(format) + (FormatHasLight(format) ? 1 : 0);
}

constexpr u32 ConfigurationOf(u32 format, bool depthTest) {
  return format * 2 + (depthTest ? 1 : 0);
}
constexpr u32 FormatOf(u32 configuration) { return configuration >> 1; }
constexpr bool DepthTestOf(u32 configuration) { return (configuration & 1) != 0; }

static_assert(FormatVaryingCount(0) == 0 && FormatVaryingCount(kFormatLight) == 1 &&
              FormatVaryingCount(kFormatColour) == 3 && FormatVaryingCount(7) == 6);

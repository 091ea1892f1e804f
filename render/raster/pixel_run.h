// A run: consecutive pixels of one row whose depth and varyings change by fixed steps per pixel.
// The affine path fills each row of a triangle as one run, the perspective path each 16-pixel
// block and each tail. A run of at least eight pixels is drawn in groups of eight (pixel_lanes.h);
// when its length is no multiple of eight, the last group ends at the run's end and covers some
// pixels a second time with the very same values, which changes nothing (a depth-tested pixel
// passes again at its own depth and writes what it wrote). Shorter runs go pixel by pixel.
#pragma once

#include "render/raster/pixel_lanes.h"

// The per-pixel steps of a run's depth and varyings, and their group lanes, made when a run
// first needs them (short runs never do).
template <class S>
struct RunSteps {
  static constexpr i32 kSize = S::kVaryings > 0 ? S::kVaryings : 1;
  i32 depth = 0;
  i32 varyings[kSize] = {};
  LaneStep depthLanes{};
  LaneStep varyingLanes[kSize]{};
  bool depthLanesMade = false;
  bool varyingLanesMade = false;

  STAKKO_ALWAYS_INLINE void SetDepth(i32 step) {
    depth = step;
    depthLanesMade = false;
  }
  STAKKO_ALWAYS_INLINE void SetVaryings(const i32* steps) {
    ForEachSlot<S::kVaryingBits>([&](auto k) { varyings[k] = steps[k]; });
    varyingLanesMade = false;
  }
  STAKKO_ALWAYS_INLINE void MakeLanes() {
    if (S::kDepth && !depthLanesMade) {
      depthLanes.Set(depth);
      depthLanesMade = true;
    }
    if (S::kVaryings > 0 && !varyingLanesMade) {
      ForEachSlot<S::kVaryingBits>([&](auto k) { varyingLanes[k].Set(varyings[k]); });
      varyingLanesMade = true;
    }
  }
};

namespace run_detail {

// Groups from the run's first pixel on, the last one ending at the run's end (n >= 8).
template <class S>
STAKKO_ALWAYS_INLINE void FillGroups(const PixelSource& src, u16* colour, i16* depth, i32 n,
                                     i32 z, const i32* v, const RunSteps<S>& steps) {
  Halves zLanes{}, varyingLanes[kMaxVaryings];
  auto startAt = [&](i32 x) {
    if constexpr (S::kDepth) zLanes = steps.depthLanes.Start(AddWrap(z, MulWrap(x, steps.depth)));
    ForEachSlot<S::kVaryingBits>([&](auto k) {
      varyingLanes[k] =
          steps.varyingLanes[k].Start(AddWrap(v[k], MulWrap(x, steps.varyings[k])));
    });
  };
  startAt(0);
  for (i32 x = 0;;) {
    ShadeGroup<S>(src, colour + x, S::kDepth ? depth + x : nullptr, zLanes, varyingLanes);
    x += kGroup;
    if (x == n) return;
    if (n - x >= kGroup) {
      if constexpr (S::kDepth) zLanes = AddHalves(zLanes, steps.depthLanes.group);
      ForEachSlot<S::kVaryingBits>([&](auto k) {
        varyingLanes[k] = AddHalves(varyingLanes[k], steps.varyingLanes[k].group);
      });
    } else {
      x = n - kGroup;
      startAt(x);
    }
  }
}

}  // namespace run_detail

// n > 0 pixels from the given colour and depth elements on (the depth pointer only for
// depth-test configurations), the first with depth z and varyings v.
template <class S>
STAKKO_ALWAYS_INLINE void FillRun(const PixelSource& src, u16* colour, i16* depth, i32 n, i32 z,
                                  const i32* v, RunSteps<S>& steps) {
  if (n >= kGroup && GroupsFit<S>(src)) {
    steps.MakeLanes();
    run_detail::FillGroups<S>(src, colour, depth, n, z, v, steps);
    return;
  }
  i32 values[kMaxVaryings];
  ForEachSlot<S::kVaryingBits>([&](auto k) { values[k] = v[k]; });
  for (i32 i = 0; i < n; ++i) {
    ShadePixel<S>(src, colour + i, S::kDepth ? depth + i : nullptr, z, values);
    if constexpr (S::kDepth) z = AddWrap(z, steps.depth);
    ForEachSlot<S::kVaryingBits>(
        [&](auto k) { values[k] = AddWrap(values[k], steps.varyings[k]); });
  }
}

// A run: consecutive pixels of one row whose depth and varyings change by fixed steps per pixel.
// The affine path fills each row of a triangle as one run, the perspective path each 16-pixel
// block and each tail. A run of at least eight pixels is drawn in groups of eight (pixel_lanes.h);
// when its length is no multiple of eight, the last group ends at the run's end and covers some
// pixels a second time with the very same values, which changes nothing (a depth-tested pixel
// passes again at its own depth and writes what it wrote). Shorter runs go pixel by pixel.
#pragma once

#include "render/raster/pixel_lanes.h"

// The per-pixel steps of a run's depth and varyings, as numbers and as group lanes.
template <class S>
struct RunSteps {
  i32 depth = 0;
  i32 varyings[kMaxVaryings] = {};
  LaneStep depthLanes;
  LaneStep varyingLanes[kMaxVaryings];

  STAKKO_ALWAYS_INLINE void SetDepth(i32 step) {
    if constexpr (S::kDepth) {
      depth = step;
      depthLanes.Set(step);
    }
  }
  STAKKO_ALWAYS_INLINE void SetVaryings(const i32* steps) {
    ForEachSlot<S::kVaryingBits>([&](auto k) {
      varyings[k] = steps[k];
      varyingLanes[k].Set(steps[k]);
    });
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
                                  const i32* v, const RunSteps<S>& steps) {
  if (n >= kGroup && GroupsFit<S>(src)) {
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

// A run: consecutive pixels of one row whose depth and varyings change by fixed steps per pixel.
// The affine path fills each row of a triangle as one run, the perspective path each 16-pixel
// block and each tail. A run of at least eight pixels is drawn in groups of eight (pixel_lanes.h);
// when its length is no multiple of eight, the last group ends at the run's end and covers some
// pixels a second time with the very same values, which changes nothing (a depth-tested pixel
// passes again at its own depth and writes what it wrote). Shorter runs go pixel by pixel.
#pragma once

#include <cstdint>

#include "render/raster/pixel_lanes.h"

// n pixels one by one from the given colour and depth elements on, the first with depth z and
// varyings v, each next one stepped by zStep and steps.
template <class S>
STAKKO_ALWAYS_INLINE void FillPixels(const PixelSource& src, u16* colour, i16* depth, i32 n, i32 z,
                                     i32 zStep, const i32* v, const i32* steps) {
  i32 values[S::kVaryings > 0 ? S::kVaryings : 1];
  ForEachSlot<S::kVaryingBits>([&](auto k) { values[k] = v[k]; });
  for (i32 i = 0; i < n; ++i) {
    ShadePixel<S>(src, colour + i, S::kDepth ? depth + i : nullptr, z, values);
    if constexpr (S::kDepth) z = AddWrap(z, zStep);
    ForEachSlot<S::kVaryingBits>([&](auto k) { values[k] = AddWrap(values[k], steps[k]); });
  }
  (void)zStep;
}

// Fills the runs of one primitive: the pixel source, the current steps, and their group lanes,
// made when a run first needs them (short runs never do).
template <class S>
class RunFiller {
 public:
  explicit RunFiller(const PixelSource& src) : src_(src), groupsFit_(GroupSource::Fits<S>(src)) {}

  // The depth's step per pixel (depth-test configurations only).
  STAKKO_ALWAYS_INLINE void SetDepthStep(i32 step) {
    depthStep_ = step;
    depthLanesMade_ = false;
  }
  // Each varying's step per pixel.
  STAKKO_ALWAYS_INLINE void SetVaryingSteps(const i32* steps) {
    ForEachSlot<S::kVaryingBits>([&](auto k) { varyingSteps_[k] = steps[k]; });
    varyingLanesMade_ = false;
  }

  // n > 0 pixels from the given colour and depth elements on (the depth pointer only for
  // depth-test configurations), the first with depth z and varyings v.
  STAKKO_ALWAYS_INLINE void Fill(u16* colour, i16* depth, i32 n, i32 z, const i32* v) {
    if (n >= kGroup && groupsFit_) {
      MakeLanes();
      if (FactorsStayNonNegative(n, v)) {
        FillGroups<true>(colour, depth, n, z, v);
      } else {
        FillGroups<false>(colour, depth, n, z, v);
      }
      return;
    }
    FillPixels<S>(src_, colour, depth, n, z, depthStep_, v, varyingSteps_);
  }

 private:
  static constexpr i32 kSize = S::kVaryings > 0 ? S::kVaryings : 1;

  STAKKO_ALWAYS_INLINE void MakeLanes() {
    if (!sourceLanesMade_) {
      group_.Load<S>(src_);
      sourceLanesMade_ = true;
    }
    if (S::kDepth && !depthLanesMade_) {
      depthLanes_.Set(depthStep_);
      depthLanesMade_ = true;
    }
    if (S::kVaryings > 0 && !varyingLanesMade_) {
      ForEachSlot<S::kVaryingBits>(
          [&](auto k) { varyingLanes_[k].template Set<ReadsHighHalves<S>(k)>(varyingSteps_[k]); });
      varyingLanesMade_ = true;
    }
  }

  // Whether the colour factors stay at 0 or above over the n pixels (as they do but next to a
  // black vertex): they step linearly, so their first and last values tell, when the exact last
  // value is in range too. Such runs skip the groups' test for negative factors.
  STAKKO_ALWAYS_INLINE bool FactorsStayNonNegative(i32 n, const i32* v) const {
    if constexpr (S::kColour) {
      bool inRange = true;
      for (i32 k = S::kColourAt; k < S::kColourAt + 3; ++k) {
        const i64 last = v[k] + i64{n - 1} * varyingSteps_[k];
        inRange = inRange && v[k] >= 0 && last >= 0 && last <= INT32_MAX;
      }
      return inRange;
    } else {
      return false;  // nothing to test: one form only
    }
  }

  // Groups from the run's first pixel on, the last one ending at the run's end (n >= 8).
  template <bool kNonNegative>
  STAKKO_ALWAYS_INLINE void FillGroups(u16* colour, i16* depth, i32 n, i32 z, const i32* v) {
    DepthLanes zLanes{};
    Halves lanes[kSize];
    auto startAt = [&](i32 x) {
      if constexpr (S::kDepth) zLanes = depthLanes_.Start(AddWrap(z, MulWrap(x, depthStep_)));
      ForEachSlot<S::kVaryingBits>([&](auto k) {
        lanes[k] = varyingLanes_[k].template Start<ReadsHighHalves<S>(k)>(
            AddWrap(v[k], MulWrap(x, varyingSteps_[k])));
      });
    };
    startAt(0);
    for (i32 x = 0;;) {
      ShadeGroup<S, kNonNegative>(group_, colour + x, S::kDepth ? depth + x : nullptr, zLanes,
                                  lanes);
      x += kGroup;
      if (x == n) return;
      if (n - x >= kGroup) {
        if constexpr (S::kDepth) zLanes = depthLanes_.Advance(zLanes);
        ForEachSlot<S::kVaryingBits>([&](auto k) {
          lanes[k] = AddHalves<ReadsHighHalves<S>(k)>(lanes[k], varyingLanes_[k].group);
        });
      } else {
        x = n - kGroup;
        startAt(x);
      }
    }
  }

  const PixelSource& src_;
  const bool groupsFit_;
  i32 depthStep_ = 0;
  i32 varyingSteps_[kSize] = {};
  GroupSource group_;
  DepthStep depthLanes_{};
  LaneStep varyingLanes_[kSize]{};
  bool sourceLanesMade_ = false;
  bool depthLanesMade_ = false;
  bool varyingLanesMade_ = false;
};

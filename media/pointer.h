// The pointer (the handheld's touch screen; a mouse on a desktop): the seam to SDL's mouse state
// and to a monotonic millisecond clock, and the sampler that turns raw positions into the
// smoothed pointer of the input device.
//
// The sampler takes at most one sample every 6 ms. While the pointer is touching it collects
// positions into a history of at most 16 points and reports their weighted mean (weights 8..1
// for the newest eight, 1 for older ones) once 13 have gathered; a position more than 15 pixels
// from the smoothed one counts as a jump, and only 9 jump positions within one read replace the
// history. Positions outside 320 x 240 are ignored.
#pragma once

#include "core/types.h"

struct PointerOps {
  // Pumps the window's events and reads the pointer: position and button mask (bit 0 = left).
  void (*readState)(i32* x, i32* y, u32* buttons);
  // Milliseconds of a clock that never steps back (it may wrap).
  u32 (*monotonicMs)();
};

PointerOps& Pointer();       // the current seam
void ResetPointerOps();      // back to SDL and the system's monotonic clock

// The pointer result: buttons (1 = down) and the movement since the previous computed sample.
struct MouseSample {
  i16 button1 = 0;
  i16 button2 = 0;
  i16 button3 = 0;
  i16 dx = 0;
  i16 dy = 0;
  i16 dz = 0;
};

// The smoothed position and the previous computed one, which belong to the input device.
struct PointerPosition {
  i32 mouseX = 100;
  i32 mouseY = 100;
  i16 lastX = 0;
  i16 lastY = 0;
  i16 lastZ = 0;
};

// The sampler's state between reads (one, process-wide; defined with the runtime's globals).
constexpr int kPointerRingSize = 16;

struct PointerPoint {
  i32 x = 0;
  i32 y = 0;
};

// The newest kPointerRingSize points; adding to a full ring drops the oldest.
class PointRing {
 public:
  void Clear() { count_ = 0; }
  int Count() const { return count_; }
  void Add(PointerPoint p) {
    if (count_ == kPointerRingSize) DropOldest(1);
    points_[count_++] = p;
  }
  // Keeps the newest n points.
  void KeepNewest(int n) {
    if (count_ > n) DropOldest(count_ - n);
  }
  // k = 0 is the newest point.
  const PointerPoint& Newest(int k) const { return points_[count_ - 1 - k]; }

 private:
  void DropOldest(int n) {
    for (int i = n; i < count_; ++i) points_[i - n] = points_[i];
    count_ -= n;
  }
  PointerPoint points_[kPointerRingSize];
  int count_ = 0;
};

struct PointerSampling {
  MouseSample cached;
  bool sampled = false;  // whether any read has passed the rate limit yet
  u32 lastSampleMs = 0;
  PointRing history;
  PointRing candidates;
};

extern PointerSampling pointerSampling;

// One read of the pointer (see the file comment): out receives the sample. Returns 0 with an
// all-zero sample when the device is not open, else 1.
i32 SamplePointer(PointerPosition& position, bool open, MouseSample& out);

// Back to the process-start state: no cached sample, empty history, no sample time.
void ResetPointerSamplingForTests();

// Pointer sampling over the pointer seam.
//
// The history and the jump candidates are rings that drop their oldest point, so no burst of
// jump positions can outgrow them. The rate limit compares a monotonic clock with an unsigned,
// wrap-safe difference, so neither a wall-clock step nor the wrap of the millisecond count can
// freeze the pointer.
#include "media/pointer.h"

#include <SDL.h>
#include <time.h>

namespace {

constexpr u32 kSampleIntervalMs = 6;
constexpr i32 kScreenWidth = 320;
constexpr i32 kScreenHeight = 240;
constexpr i32 kJumpDistance = 15;
constexpr int kJumpSamplesAccepted = 9;
constexpr int kReportAfter = 13;   // history points needed before a sample is reported
constexpr int kHistoryKept = 14;   // points kept when more have gathered
constexpr i32 kWeights[kPointerRingSize] = {8, 7, 6, 5, 4, 3, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1};

void SdlReadState(i32* x, i32* y, u32* buttons) {
  SDL_PumpEvents();
  int sx = 0;
  int sy = 0;
  *buttons = SDL_GetMouseState(&sx, &sy);
  *x = sx;
  *y = sy;
}

u32 MonotonicMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<u32>(static_cast<u64>(now.tv_sec) * 1000u +
                          static_cast<u64>(now.tv_nsec) / 1000000u);
}

PointerOps MakeRealOps() { return PointerOps{SdlReadState, MonotonicMs}; }

bool IsJump(const PointerPosition& position, PointerPoint p) {
  const i32 dx = p.x - position.mouseX;
  const i32 dy = p.y - position.mouseY;
  return dx > kJumpDistance || dx < -kJumpDistance || dy > kJumpDistance || dy < -kJumpDistance;
}

void SetWeightedMean(PointerPosition& position, const PointRing& history) {
  i64 sx = 0;
  i64 sy = 0;
  i64 total = 0;
  for (int k = 0; k < history.Count(); ++k) {
    sx += kWeights[k] * static_cast<i64>(history.Newest(k).x);
    sy += kWeights[k] * static_cast<i64>(history.Newest(k).y);
    total += kWeights[k];
  }
  position.mouseX = static_cast<i32>((sx * 256 / total) >> 8);
  position.mouseY = static_cast<i32>((sy * 256 / total) >> 8);
}

// The sampling loop of one read; the history and candidates persist as the state says.
void RunSamplingLoop(PointerPosition& position, MouseSample& out) {
  pointerSampling.candidates.Clear();
  for (;;) {
    i32 rawX = 0;
    i32 rawY = 0;
    u32 buttons = 0;
    Pointer().readState(&rawX, &rawY, &buttons);
    const PointerPoint p{static_cast<u16>(rawX), static_cast<u16>(rawY)};
    if ((buttons & 1u) == 0) {
      pointerSampling.history.Clear();
      out.button1 = 0;
      pointerSampling.cached = out;
      return;
    }
    if (p.x >= kScreenWidth || p.y >= kScreenHeight) {
      out = pointerSampling.cached;
      return;
    }
    pointerSampling.history.Add(p);
    if (IsJump(position, p)) {
      pointerSampling.candidates.Add(p);
      if (pointerSampling.candidates.Count() < kJumpSamplesAccepted) continue;
      pointerSampling.history = pointerSampling.candidates;
      position.mouseX = p.x;
      position.mouseY = p.y;
    }
    if (pointerSampling.history.Count() < kReportAfter) continue;
    pointerSampling.history.KeepNewest(kHistoryKept);
    break;
  }
  SetWeightedMean(position, pointerSampling.history);
  out.button1 = 1;
  out.dx = static_cast<i16>(position.mouseX - position.lastX);
  out.dy = static_cast<i16>(position.mouseY - position.lastY);
  position.lastX = static_cast<i16>(position.mouseX);
  position.lastY = static_cast<i16>(position.mouseY);
  position.lastZ = out.dz;
  pointerSampling.cached = out;
}

}  // namespace

PointerOps& Pointer() {
  static PointerOps ops = MakeRealOps();
  return ops;
}

void ResetPointerOps() { Pointer() = MakeRealOps(); }

i32 SamplePointer(PointerPosition& position, bool open, MouseSample& out) {
  out = pointerSampling.cached;
  const u32 now = Pointer().monotonicMs();
  if (pointerSampling.sampled && now - pointerSampling.lastSampleMs < kSampleIntervalMs) return 1;
  pointerSampling.sampled = true;
  pointerSampling.lastSampleMs = now;
  out.button1 = 0;
  out.button2 = 0;
  out.button3 = 0;
  out.dz = 0;
  if (!open) {
    out = MouseSample{};
    return 0;
  }
  RunSamplingLoop(position, out);
  return 1;
}

void ResetPointerSamplingForTests() { pointerSampling = PointerSampling{}; }

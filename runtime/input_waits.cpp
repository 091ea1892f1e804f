// Blocking input.
#include "runtime/input_waits.h"

#include <cmath>

#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "runtime/frame_step.h"
#include "runtime/key_queries.h"
#include "runtime/pointer_queries.h"
#include "media/frame_pacing.h"
#include "media/input_device.h"
#include "media/key_codes.h"
#include "platform/platform_ops.h"

namespace {

constexpr int kPumpPasses = 15;
constexpr f64 kAxisThreshold = 0.1;
constexpr u64 kPassSleepNs = 5000;

bool SamePointer(const PointerReading& a, const PointerReading& b) {
  return a.x == b.x && a.y == b.y && a.button1 == b.button1 && a.button2 == b.button2;
}

bool AxisDeflected(i32 word) {
  const f64 v = std::fabs(static_cast<f64>(word) / kJoyFullDeflection);
  return (v > 1.0 ? 1.0 : v) > kAxisThreshold;
}

bool JoystickShowsInput(const JoyState& s) {
  for (u8 b : s.buttons) {
    if (b != 0) return true;
  }
  if (AxisDeflected(s.x) || AxisDeflected(s.y) || AxisDeflected(s.axis3)) return true;
  const i32 hat = s.hat[0];
  return hat == kJoyHatUp || hat == kJoyHatRight || hat == kJoyHatDown || hat == kJoyHatLeft;
}

bool AnyKeyDown() {
  for (i32 code = 0; code < kScannedKeyCodes; ++code) {
    if (IsKeyDown(code) != 0) return true;
  }
  return false;
}

bool AnyJoystickInput() {
  for (i32 j = inputDevice->GetJoystickCount() - 1; j >= 0; --j) {
    JoyState s;
    DecodeButtons(*inputDevice, s, j);
    if (JoystickShowsInput(s)) return true;
  }
  return false;
}

}  // namespace

void PumpInputEvents() {
  if (inputDevice == nullptr) return;
  const PointerReading snapshot = ReadPointerClamped();
  for (int pass = 0; pass < kPumpPasses; ++pass) {
    if (PollQuitEvent() == 0) EndProgram();
    inputDevice->ReadButtons();
    inputDevice->relativeMouse = 1;
    if (QuitComboEnabled() && QuitComboHeld()) EndProgram();
    if (AnyKeyDown()) return;
    if (!SamePointer(snapshot, ReadPointerClamped())) return;
    if (AnyJoystickInput()) return;
    Platform().sleepNs(0, kPassSleepNs);
  }
}

void WaitForKey() {
  if (inputDevice == nullptr) return;
  while (inputDevice->AnyKeyTyped() != 0) {
  }
  do {
    if (PollQuitEvent() == 0) EndProgram();
    PumpInputEvents();
  } while (inputDevice->AnyKeyTyped() == 0);
  while (inputDevice->AnyKeyTyped() != 0) {
  }
}

void WaitForMouseClick() {
  if (inputDevice == nullptr) return;
  while (inputDevice->AnyMouseButton() != 0) {
  }
  do {
    PumpInputEvents();
  } while (inputDevice->AnyMouseButton() == 0);
  while (inputDevice->AnyMouseButton() != 0) {
  }
}

// FlipFrame and the quit combination.
#include "runtime/frame_step.h"

#include "core/clocks.h"
#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "media/frame_pacing.h"
#include "media/graphics_device.h"
#include "media/input_device.h"
#include "media/render_target.h"
#include "scene3d/rainbows3d.h"
#include "scene3d/texture_commands.h"

namespace {

[[noreturn]] void EndOnQuit() { FatalError(kErrRegularEnd); }

}  // namespace

void SetQuitComboEnabled(f32 on) { quitComboEnabled = on != 0.0f; }

bool QuitComboEnabled() { return quitComboEnabled; }

bool QuitComboHeld() {
  if (inputDevice == nullptr) return false;
  JoyState state;
  DecodeButtons(*inputDevice, state, 0);
  return state.buttons[kJoyVolumeDown] != 0 && state.buttons[kJoyVolumeUp] != 0;
}

void FlipFrame() {
  previousFrameClockMs = frameClockMs;
  frameClockMs = GetTicksMs();
  if (inputDevice != nullptr) {
    inputDevice->NextFrame();
    inputDevice->ReadButtons();
    inputDevice->relativeMouse = 1;
  }
  if (quitComboEnabled && QuitComboHeld()) EndOnQuit();
  if (device3D != nullptr) device3D->SetFrameFlag(0);
  if (PollQuitEvent() == 0) EndOnQuit();
  OpenGLRainbows* gfx = graphicsDevice;
  if (gfx != nullptr) {
    if (gfx->PresentFrame() == 0.0) EndOnQuit();
    // Plain blend, exactly as the blend command with mode 0 sets it.
    GetRenderTarget().SetBlend(0);
    gfx->blendAlpha = 1.0f;
    gfx->DrawScreenSlot(0);
    gfx->SetViewport(0, 0, 0, 0);
  }
  SetObjectTextureMode(0.0f);
}

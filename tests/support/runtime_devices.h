// The runtime's devices in the test process, for the tests of the layers above them (the frame
// step, the input commands, the game): a graphics device with its video mode open on SDL's dummy
// driver and an input device over a script of button words, and where asked the audio output,
// the sound slots and both file-resolver contexts; on a fake clock that moves a millisecond on
// every read, so frame pacing never waits. The runtime's state is reset before and after, and
// everything is released at the end.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>

#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "files/file_resolver.h"
#include "media/graphics_device.h"
#include "media/input_device.h"
#include "media/sound.h"
#include "runtime/frame_step.h"
#include "runtime/runtime_globals.h"
#include "runtime/runtime_startup.h"
#include "tests/support/test_support.h"

class RuntimeDevicesTest : public testing::Test {
 protected:
  RuntimeDevicesTest(i32 width, i32 height, i32 fps, bool sound) {
    ResetRuntimeState();
    testing::internal::CaptureStdout();  // the video and audio start-up's progress lines
    graphicsDevice = new OpenGLRainbows();
    graphicsDevice->InitVideo(0, width, height, 0, fps, 0);
    inputDevice = new InputDevice();
    auto source = std::make_unique<ScriptedButtonSource>(std::vector<u32>{0});
    buttons = source.get();
    inputDevice->SetButtonSource(std::move(source));
    inputDevice->Open(false);
    if (sound) {
      audioDevice = new AudioDevice();
      audioDevice->Open();
      soundSlots = new SoundSlot[kSoundSlotCount];
      musicResolver = CreateFileResolverContext();
      generalResolver = CreateFileResolverContext();
    }
    testing::internal::GetCapturedStdout();
    DrainEvents();  // what the video start-up queued
  }
  ~RuntimeDevicesTest() override {
    ReleaseRuntimeObjects();
    ResetRuntimeState();
  }
  static void ResetRuntimeState() {
    DrainEvents();
    ResetRuntimeGlobalsForTests();
    ResetEndProgramStateForTests();
    ResetTypedCharStateForTests();
    SetQuitComboEnabled(1.0f);
  }
  static void DrainEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
    }
  }

  ScopedFakeClock clock{1000, 1};
  ScriptedButtonSource* buttons = nullptr;  // owned by the input device
};

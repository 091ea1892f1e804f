// The runtime's devices for the frame-step and input tests: a graphics device with its video mode
// open on the dummy driver, the 3D device, and an input device over a script of button words, all
// on a fake clock that moves a millisecond on every read (so frame pacing never waits).
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>

#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "runtime/frame_step.h"
#include "media/graphics_device.h"
#include "media/input_device.h"
#include "media/render_target.h"
#include "runtime/runtime_globals.h"
#include "scene3d/rainbows3d.h"
#include "tests/support/test_support.h"

constexpr i32 kScreenW = 64;
constexpr i32 kScreenH = 48;

class RuntimeTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetState();
    testing::internal::CaptureStdout();  // the video start-up's progress lines
    graphicsDevice = new OpenGLRainbows();
    graphicsDevice->InitVideo(0, kScreenW, kScreenH, 0, 1000, 0);
    testing::internal::GetCapturedStdout();
    device3D = new Rainbows3D(graphicsDevice);
    inputDevice = new InputDevice();
    auto source = std::make_unique<ScriptedButtonSource>();
    buttons = source.get();
    inputDevice->SetButtonSource(std::move(source));
    inputDevice->Open(false);
    DrainEvents();  // what the video start-up queued
  }
  void TearDown() override {
    delete graphicsDevice;
    delete device3D;
    delete inputDevice;
    ResetState();
  }
  static void ResetState() {
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
  static void PushQuit() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    ASSERT_EQ(0, SDL_PushEvent(&event));
  }

  ScopedFakeClock clock{1000, 1};
  ScriptedButtonSource* buttons = nullptr;  // owned by the input device
};

// The frame-step and input tests' devices: a small screen at 1000 frames a second, with the 3D
// device, over the shared runtime devices.
#pragma once

#include "media/render_target.h"
#include "scene3d/rainbows3d.h"
#include "tests/support/runtime_devices.h"

constexpr i32 kScreenW = 64;
constexpr i32 kScreenH = 48;

class RuntimeTest : public RuntimeDevicesTest {
 protected:
  RuntimeTest() : RuntimeDevicesTest(kScreenW, kScreenH, 1000, false) {
    device3D = new Rainbows3D(graphicsDevice);
  }
  ~RuntimeTest() override {
    delete device3D;
    device3D = nullptr;
  }
  static void PushQuit() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    ASSERT_EQ(0, SDL_PushEvent(&event));
  }
};

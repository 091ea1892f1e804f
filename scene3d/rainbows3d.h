// The runtime's single 3D device. Start-up creates it with the 2D device and keeps it for the
// whole run; the frame step clears its frame flag once per frame. Its object table, transform
// stack, camera and drawing are built on this object.
#pragma once

#include "core/types.h"

class OpenGLRainbows;

class Rainbows3D {
 public:
  explicit Rainbows3D(OpenGLRainbows* device);
  virtual ~Rainbows3D();
  Rainbows3D(const Rainbows3D&) = delete;
  Rainbows3D& operator=(const Rainbows3D&) = delete;

  // Stores the frame flag when it differs from the stored one.
  void SetFrameFlag(u8 value);

  u8 frameFlag = 0;
  OpenGLRainbows* device2D = nullptr;
};

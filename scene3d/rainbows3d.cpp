// The 3D device's construction and frame flag.
#include "scene3d/rainbows3d.h"

Rainbows3D::Rainbows3D(OpenGLRainbows* device) : device2D(device) {}

Rainbows3D::~Rainbows3D() = default;

void Rainbows3D::SetFrameFlag(u8 value) {
  if (frameFlag != value) frameFlag = value;
}

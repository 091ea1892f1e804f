// A graphics device per test over a small render target, and sprites written as rows of letters
// (see media_test_util.h).
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "media/graphics_device.h"
#include "tests/media/media_test_util.h"

class DeviceTest : public testing::Test {
 protected:
  void SetUp() override { Reset(8, 6); }

  // A fresh black target of w x h and the whole-target viewport.
  void Reset(i32 w, i32 h) {
    FreshTarget(w, h);
    gfx->SetViewport(0, 0, 0, 0);
  }

  // Sprite i holds the picture, its record the picture's size.
  void PutSprite(i32 i, const Rows& rows) {
    SurfaceFromRows(*gfx->Sprite(i), rows, gfx->transparentColour);
    SpriteInfo& info = *gfx->Info(i);
    info.loadedWidth = info.width = static_cast<i16>(rows[0].size());
    info.loadedHeight = info.height = static_cast<i16>(rows.size());
  }

  std::unique_ptr<OpenGLRainbows> gfx = std::make_unique<OpenGLRainbows>();
};

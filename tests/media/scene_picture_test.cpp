// A 3D scene drawn by the renderer into the runtime's render target and saved through the
// screen-save command, as the README shows it: three textured, vertex-coloured cubes recorded once
// into a draw batch and replayed under their own model matrices, with the depth test, at 320 x 240.
// The pixels are golden: colour and depth hashes frozen when the picture was first checked.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "core/dyn_string.h"
#include "core/runtime_globals.h"
#include "media/graphics_commands.h"
#include "media/graphics_device.h"
#include "render/float_mesh.h"
#include "render/soft_render_context.h"
#include "tests/media/media_test_util.h"
#include "tests/support/pixel_hash.h"

namespace {

const std::string kShotDir = STAKKO_SCREENSHOT_DIR;

// A cube of side 2 about the origin as 12 triangles of the 3D engine's vertex layout (x, y, z,
// normal, u, v, r, g, b, a), each face in its own colour.
std::vector<f32> Cube() {
  const f32 colours[6][3] = {{1, 0.55f, 0.4f}, {0.5f, 1, 0.5f},  {0.85f, 0.9f, 1},
                             {1, 1, 0.5f},     {1, 0.8f, 0.45f}, {0.6f, 0.6f, 1}};
  std::vector<f32> out;
  for (i32 face = 0; face < 6; ++face) {
    const i32 axis = face / 2, a = (axis + 1) % 3, b = (axis + 2) % 3;
    const f32 side = face % 2 ? -1.0f : 1.0f;
    const f32 corners[6][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, -1}, {1, 1}, {-1, 1}};
    for (const auto& c : corners) {
      f32 p[3], n[3] = {0, 0, 0};
      p[axis] = side, p[a] = c[0], p[b] = c[1] * side;
      n[axis] = side;
      out.insert(out.end(), {p[0], p[1], p[2], n[0], n[1], n[2], (c[0] + 1) / 2, (c[1] + 1) / 2,
                             colours[face][0], colours[face][1], colours[face][2], 1.0f});
    }
  }
  return out;
}

// Column-major: a turn about y then x, and a translation.
void Model(f32 m[16], f32 turnY, f32 turnX, f32 x, f32 y, f32 z) {
  const f32 cy = std::cos(turnY), sy = std::sin(turnY), cx = std::cos(turnX), sx = std::sin(turnX);
  const f32 columns[16] = {cy, sx * sy,  -cx * sy, 0, 0, cx, sx, 0,
                           sy, -sx * cy, cx * cy,  0, x, y,  z,  1};
  std::copy(columns, columns + 16, m);
}

TEST(ScenePicture, ThreeTexturedCubesWithDepthTest) {
  RenderTarget& rt = FreshTarget(320, 240);
  graphicsDevice = new OpenGLRainbows();  // the screen-save command's device
  graphicsDevice->SetViewport(0, 0, 0, 0);
  for (i32 i = 0; i < 320 * 240; ++i) {
    rt.colourBuffer[i] = static_cast<u16>(0x0841 * (2 + i / 320 / 40));  // bands of grey
    rt.depthBuffer[i] = 0x7F7F;
  }
  std::vector<u16> texels(32 * 32);
  for (i32 y = 0; y < 32; ++y) {
    for (i32 x = 0; x < 32; ++x) {
      const bool light = ((x / 8) + (y / 8)) % 2 == 0, border = x % 8 == 0 || y % 8 == 0;
      texels[y * 32 + x] = border  ? 0x4208
                           : light ? 0xFFFF
                                   : static_cast<u16>(0x8410 + (y / 8) * 0x0841);
    }
  }
  SoftRenderContext& ctx = GetSoftRenderContext();
  ctx.SetViewport(0, 0, 320, 240);
  ctx.Perspective(60.0f, 320.0f / 240.0f, 1.0f, 50.0f);
  ctx.SetDepthTest(1);
  ctx.SetCullFace(0);
  ctx.SetTexture(texels.data(), 32, 32);
  ctx.LoadIdentity();
  LookAtMatrix(0.0f, 2.0f, 7.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
  const std::vector<f32> cube = Cube();
  const i32 batch = ctx.AllocBatches(1);
  ctx.SelectBatch(batch);
  SubmitFloatMesh(kMeshTriangles, 36, cube.data(), 1, 1, 1, 1, 1);
  ctx.UnselectBatch();
  const f32 placements[3][5] = {{0.5f, 0.3f, -1.8f, 0.0f, -1.0f},
                                {-0.6f, 0.2f, 1.3f, -0.2f, 0.3f},
                                {0.9f, -0.5f, 0.2f, 0.9f, -3.5f}};
  for (const auto& p : placements) {
    f32 m[16];
    Model(m, p[0], p[1], p[2], p[3], p[4]);
    ctx.PushMatrix();
    ctx.MultMatrixFloat(m);
    ctx.RenderBatches(batch, 1);
    ctx.PopMatrix();
  }
  ctx.SetDepthTest(0);
  ctx.SetTexture(nullptr, 0, 0);
  const std::pair<u64, u64> expected(6033499768849790602u, 16431261246163804115u);
  EXPECT_EQ(expected,
            std::pair(Hash16(rt.colourBuffer, 320 * 240), Hash16(rt.depthBuffer, 320 * 240)));
  // Saved as the README shows it (the screen-save tests check what such a file holds).
  std::filesystem::create_directories(kShotDir);
  SaveScreenImageCommand(DynString((kShotDir + "/scene3d.png").c_str()));
  delete graphicsDevice;
  graphicsDevice = nullptr;
}

}  // namespace

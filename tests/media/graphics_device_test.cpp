// The graphics device: primitives, the viewport, animation frames, collisions of frames, rotated
// and zoomed sprites, grabbing, fonts, the active flag, and slot numbers out of range.
#include "media/graphics_device.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <functional>
#include <limits>

#include "core/runtime_error.h"
#include "media/builtin_font.h"
#include "media/sprite_image_files.h"
#include "media/textured_quads.h"
#include "platform/platform_ops.h"
#include "render/float_mesh.h"
#include "render/soft_render_context.h"
#include "tests/media/device_fixture.h"
#include "tests/support/test_support.h"

namespace {

constexpr u32 Letter(char c) { return LetterRed(c); }

// A w x h canvas of '.' with one block of a letter.
Rows Block(i32 w, i32 h, char c, i32 x, i32 y, i32 bw, i32 bh) {
  Rows rows(h, std::string(w, '.'));
  for (i32 r = y; r < y + bh; ++r)
    for (i32 col = x; col < x + bw; ++col)
      if (r >= 0 && r < h && col >= 0 && col < w) rows[r][col] = c;
  return rows;
}

// A sheet of w x h with fw x fh frames, frame n filled with letter 'A' + n.
Rows Sheet(i32 w, i32 h, i32 fw, i32 fh) {
  Rows rows(h, std::string(w, '.'));
  for (i32 y = 0; y < h; ++y)
    for (i32 x = 0; x < w; ++x) rows[y][x] = static_cast<char>('A' + (y / fh) * (w / fw) + x / fw);
  return rows;
}

using GraphicsDevice = DeviceTest;

TEST_F(GraphicsDevice, FillRectEndsAtTheGivenCornerForNegativeSizes) {
  struct Case {
    i32 x, y, w, h;
    Rows target;
  };
  const Case cases[] = {
      {1, 1, 2, 2, {"......", ".AA...", ".AA...", "......"}},
      {3, 2, -3, 2, {"......", "......", ".AAA..", ".AAA.."}},
      {0, 0, -1, -1, {"A.....", "......", "......", "......"}},
      {2, 1, 0, 3, {"......", "......", "......", "......"}},
      {-2, 0, 3, 1, {"A.....", "......", "......", "......"}},
      {4, 3, INT_MAX, INT_MAX, {"......", "......", "......", "....AA"}},
      {5, 3, INT_MIN, 1, {"......", "......", "......", "AAAAAA"}},
      {INT_MIN, 0, INT_MIN, 1, {"......", "......", "......", "......"}},
  };
  for (const Case& c : cases) {
    Reset(6, 4);
    FillRect(c.x, c.y, c.w, c.h, Letter('A'));
    EXPECT_EQ(c.target, TargetRows()) << c.x << "," << c.y << " " << c.w << "x" << c.h;
  }
  Reset(12, 12);
  FillRect(10, 10, -3, 2, Letter('B'));
  EXPECT_EQ(Block(12, 12, 'B', 8, 10, 3, 2), TargetRows());
  gfx->SetViewport(2, 1, 3, 2);  // clipped to the viewport
  FillRect(-1, -1, 10, 10, Letter('C'));
  EXPECT_EQ('C', PixelLetter(PixelAt(2, 1)));
  EXPECT_EQ('C', PixelLetter(PixelAt(4, 2)));
  EXPECT_EQ(0, PixelAt(5, 2));
  EXPECT_EQ(0, PixelAt(2, 3));
}

TEST_F(GraphicsDevice, ViewportIsStoredAsAskedClippedForTheTargetAndResetsTheRenderer) {
  struct Case {
    i32 x, y, w, h;
    i32 stored[4];
    i32 target[4];
  };
  const Case cases[] = {
      {0, 0, 0, 0, {0, 0, 160, 120}, {0, 0, 160, 120}},
      {-10, 0, 100, 50, {-10, 0, 100, 50}, {0, 0, 100, 50}},
      {150, 100, 20, 30, {150, 100, 20, 30}, {150, 100, 10, 20}},
      {3, 3, -5, 2, {3, 3, 160, 120}, {3, 3, 157, 117}},
      {10, 10, 5, 0, {10, 10, 160, 120}, {10, 10, 150, 110}},
  };
  Reset(160, 120);
  for (const Case& c : cases) {
    GetSoftRenderContext().SetDepthTest(1);
    GetSoftRenderContext().modelView[0][1] = 7;
    gfx->SetViewport(c.x, c.y, c.w, c.h);
    const RenderTarget& rt = GetRenderTarget();
    const i32 stored[4] = {gfx->viewportX, gfx->viewportY, gfx->viewportWidth, gfx->viewportHeight};
    const i32 target[4] = {rt.viewportX, rt.viewportY, rt.viewportWidth, rt.viewportHeight};
    EXPECT_TRUE(std::equal(stored, stored + 4, c.stored)) << c.x << "," << c.y;
    EXPECT_TRUE(std::equal(target, target + 4, c.target)) << c.x << "," << c.y;
    const RendererCallRecord& r = GetRendererCallRecord();
    EXPECT_TRUE(std::equal(r.viewport, r.viewport + 4, c.stored));  // unclipped
    const i32 ortho[4] = {0, c.stored[2], c.stored[3], 0};
    EXPECT_TRUE(std::equal(r.orthoBounds, r.orthoBounds + 4, ortho));
    EXPECT_EQ(-1.0f, r.orthoNear);
    EXPECT_EQ(1.0f, r.orthoFar);
    EXPECT_EQ(2, r.cullMode);
    EXPECT_EQ(0u, GetSoftRenderContext().depthTestEnabled);
    EXPECT_EQ(0, GetSoftRenderContext().modelView[0][1]);
  }
}

TEST_F(GraphicsDevice, PixelsAndLinesClipToTheWholeTargetNotTheViewport) {
  Reset(4, 3);
  gfx->SetViewport(2, 1, 1, 1);
  SetPixel(-1, -1, Letter('A'));  // outside the viewport, inside the target
  SetPixel(2, 0, Letter('B'));    // beyond the target's right edge
  SetPixel(INT_MAX, INT_MAX, Letter('B'));
  DrawLine(-2, 1, 1, 1, Letter('C'));
  EXPECT_EQ((Rows{".A..", "....", "CCCC"}), TargetRows());
  EXPECT_EQ(u32{LetterRed('C')}, GetPixel(-2, 1));
  EXPECT_EQ(0u, GetPixel(2, 0));  // outside the target
  EXPECT_EQ(0u, GetPixel(INT_MIN, 0));

  struct Case {
    u16 stored;
    u32 read;  // 0x00BBGGRR, the dropped low bits zero
  };
  for (const Case& c : {Case{0xFFFF, 0x00F8FCF8}, Case{0xF810, 0x008000F8},
                        Case{0x07E0, 0x0000FC00}, Case{0x0001, 0x00080000}}) {
    GetRenderTarget().colourBuffer[0] = c.stored;
    EXPECT_EQ(c.read, GetPixel(-2, -1)) << c.stored;
  }
  GetRenderTarget().colourBuffer[0] = 0;
  GetRenderTarget().SetBlend(-128);  // through the plot function
  SetPixel(-2, -1, 0x0000FF);
  EXPECT_EQ(0x7800, PixelAt(0, 0));
}

TEST_F(GraphicsDevice, AnimationFramesRunAcrossThenDown) {
  struct Case {
    i16 frameWidth, frameHeight;
    i32 frame;
    Rows target;
  };
  const Case cases[] = {
      {16, 16, 0, Block(20, 20, 'A', 2, 2, 16, 16)},
      {16, 16, 5, Block(20, 20, 'F', 2, 2, 16, 16)},  // frame 5 comes from (16, 16)
      {16, 16, 7, Block(20, 20, 'H', 2, 2, 16, 16)},
      {16, 16, 8, Block(20, 20, '.', 0, 0, 0, 0)},  // below the sheet
      {16, 16, -1, Block(20, 20, '.', 0, 0, 0, 0)},
      {16, 16, INT_MAX, Block(20, 20, '.', 0, 0, 0, 0)},
      {16, 16, INT_MIN, Block(20, 20, '.', 0, 0, 0, 0)},
      {0, 16, 0, Block(20, 20, '.', 0, 0, 0, 0)},  // no frame size
      {16, 0, 0, Block(20, 20, '.', 0, 0, 0, 0)},
      // Frames wider than the sheet: frame 0 from the left edge, nothing for the others.
      {100, 8, 1, Block(20, 20, '.', 0, 0, 0, 0)},
      {100, 8, INT_MAX, Block(20, 20, '.', 0, 0, 0, 0)},
  };
  PutSprite(3, Sheet(64, 32, 16, 16));
  for (const Case& c : cases) {
    Reset(20, 20);
    gfx->SetSpriteFrameSize(3, c.frameWidth, c.frameHeight);
    gfx->DrawAnimFrame(3, c.frame, 2, 2);
    EXPECT_EQ(c.target, TargetRows()) << c.frameWidth << "x" << c.frameHeight << " #" << c.frame;
  }
  Reset(20, 20);
  gfx->SetSpriteFrameSize(3, 100, 8);
  gfx->DrawAnimFrame(3, 0, 2, 2);
  Rows wide = Block(20, 20, 'A', 2, 2, 16, 8);
  for (i32 y = 2; y < 10; ++y) wide[y].replace(18, 2, "BB");
  EXPECT_EQ(wide, TargetRows());
}

TEST_F(GraphicsDevice, CollisionCountsAFrameWiderThanTheSheetAsOnePerRow) {
  // Frames of 5 x 2 in a 2-wide sheet: the drawing draws only frame 0, the collision test takes
  // frame n from (0, 2n).
  PutSprite(1, {"B.", "..", "AA", "AA"});
  gfx->SetSpriteFrameSize(1, 5, 2);
  PutSprite(2, {"C"});  // one solid pixel, no key
  struct Case {
    i32 frame, bx, by, hit;
  };
  for (const Case& c : {Case{0, 0, 0, 1}, Case{0, 1, 0, 0}, Case{1, 1, 0, 1}, Case{1, 0, 1, 1},
                        Case{2, 0, 0, 0}, Case{INT_MAX, 0, 0, 0}}) {
    EXPECT_EQ(c.hit, gfx->SpritesCollide(1, c.frame, 10, 10, 2, 0, 10 + c.bx, 10 + c.by))
        << "frame " << c.frame << " at " << c.bx << "," << c.by;
  }
  Reset(4, 4);
  gfx->DrawAnimFrame(1, 1, 0, 0);
  EXPECT_EQ(Block(4, 4, '.', 0, 0, 0, 0), TargetRows());
  gfx->DrawAnimFrame(1, 0, 0, 0);
  EXPECT_EQ(Block(4, 4, 'B', 0, 0, 1, 1), TargetRows());

  // A sheet of whole frames, and a sprite without frames tested whole.
  PutSprite(4, {"D.E.", "...."});
  gfx->SetSpriteFrameSize(4, 2, 2);
  EXPECT_EQ(1, gfx->SpritesCollide(4, 1, 0, 0, 2, 0, 0, 0));
  EXPECT_EQ(0, gfx->SpritesCollide(4, 1, 0, 0, 2, 0, 1, 0));
  EXPECT_EQ(1, gfx->SpritesCollide(2, 0, 0, 0, 4, 1, 0, 0));
  EXPECT_EQ(0, gfx->SpritesCollide(2, 0, 1, 0, 4, 1, 0, 0));
  EXPECT_EQ(1, gfx->SpritesCollideAt(4, 2, 0, 0, 2, 0));
  EXPECT_EQ(0, gfx->SpritesCollideAt(4, 2, 0, 0, 3, 0));
}

// The smallest rectangle holding every pixel that is not black: left, top, right, bottom.
std::array<i32, 4> DrawnBox() {
  const RenderTarget& rt = GetRenderTarget();
  std::array<i32, 4> box = {rt.width, rt.height, -1, -1};
  for (i32 y = 0; y < rt.height; ++y)
    for (i32 x = 0; x < rt.width; ++x)
      if (PixelAt(x, y) != 0)
        box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x), std::max(box[3], y)};
  return box;
}

TEST_F(GraphicsDevice, RotoZoomKeepsTheCentreAndTakesTheScaleAsAMagnitude) {
  constexpr f32 kNaN = std::numeric_limits<f32>::quiet_NaN();
  constexpr f32 kInf = std::numeric_limits<f32>::infinity();
  PutSprite(1, Block(10, 10, 'A', 0, 0, 10, 10));
  struct Case {
    f32 angle, scale;
    i32 x;
    std::array<i32, 4> box;
  };
  const Case cases[] = {
      {0.0f, 1.0f, 12, {12, 12, 21, 21}},  // the sprite's own rectangle
      {0.0f, 2.0f, 12, {8, 8, 27, 27}},    // 16.16 sampling of the doubled square
      {0.0f, -2.0f, 12, {8, 8, 27, 27}},
      {360.0f, -1.0f, 12, {13, 13, 22, 22}},  // stretched, not drawn: sampled one pixel late
      {0.0f, 0.0f, 12, {40, 40, -1, -1}},
      {0.0f, kNaN, 12, {40, 40, -1, -1}},
      {kNaN, 1.0f, 12, {12, 12, 21, 21}},
      {0.0f, 1.0f, INT_MIN, {40, 40, -1, -1}},
      {0.0f, 3.0f, INT_MAX, {40, 40, -1, -1}},
  };
  for (const Case& c : cases) {
    Reset(40, 40);
    gfx->DrawSpriteRotoZoom(1, c.x, 12, c.angle, c.scale);
    EXPECT_EQ(c.box, DrawnBox()) << c.angle << " x" << c.scale;
  }
  Reset(40, 40);
  gfx->DrawSpriteRotoZoom(1, 12, 12, 45.0f, -2.0f);
  const Rows negative = TargetRows();
  Reset(40, 40);
  gfx->DrawSpriteRotoZoom(1, 12, 12, 45.0f, 2.0f);
  EXPECT_EQ(negative, TargetRows());
  for (f32 scale : {kInf, -kInf, 1e30f, 1e-30f}) {  // saturated, never undefined
    gfx->DrawSpriteRotoZoom(1, INT_MAX - 3, INT_MIN + 3, 30.0f, scale);
    gfx->DrawSpriteRotoZoom(1, 0, 0, 30.0f, scale);
  }
}

TEST_F(GraphicsDevice, GrabRecordsTheSizeOfTheSurfaceItBuilt) {
  struct Case {
    i32 x, y, w, h;
    i16 width, height;
    Rows rows;
  };
  const Case cases[] = {
      {1, 1, 3, 2, 3, 2, {"HIJ", "NOP"}},
      {4, 1, -3, -2, 3, 2, {"KL.", "QR."}},  // |w| x |h| from the given corner
      {0, 0, 0, 5, 0, 0, {}},
      {INT_MAX, 0, 5, 1, 0, 0, {}},
  };
  for (const Case& c : cases) {
    Reset(6, 4);
    PaintTarget({"ABCDEF", "GHIJKL", "MNOPQR", "STUVWX"});
    EXPECT_EQ(1, gfx->GrabSprite(9, c.x, c.y, c.w, c.h));
    const SpriteInfo& info = *gfx->Info(9);
    EXPECT_EQ(c.width, info.width) << c.x << "," << c.y;
    EXPECT_EQ(c.height, info.height);
    EXPECT_EQ(c.width, info.loadedWidth);
    EXPECT_EQ(c.height, info.loadedHeight);
    EXPECT_EQ(c.width, gfx->GetSpriteSize(9).width);
    if (!c.rows.empty()) {
      EXPECT_EQ(c.rows, SurfaceRows(*gfx->Sprite(9)));
    }
  }
  gfx->GrabScreenSlot(2);
  Reset(6, 4);
  gfx->DrawScreenSlot(2);
  EXPECT_EQ((Rows{"ABCDEF", "GHIJKL", "MNOPQR", "STUVWX"}), TargetRows());
}

TEST_F(GraphicsDevice, TextAndFontsUseTheirOwnTransparentColour) {
  EXPECT_EQ(kDefaultTransparentColour, gfx->transparentColour);
  EXPECT_EQ(0u, gfx->fontKeyColour);
  LoadDefaultFont(gfx.get(), 0);
  EXPECT_EQ(8, gfx->GetFontSize(0).width);
  EXPECT_EQ(8, gfx->GetFontSize(0).height);
  Reset(24, 10);
  gfx->fonts[0].DrawText(reinterpret_cast<const u8*>("AB"), 1, 0);
  const Rows expected = TargetRows();
  for (const auto& [x, y] : {std::pair{1.9f, -0.5f}, std::pair{1.0f, 0.99f}}) {
    Reset(24, 10);
    gfx->PrintText(0, "AB", x, y);  // truncated toward zero
    EXPECT_EQ(expected, TargetRows()) << x << "," << y;
  }
  gfx->PrintText(0, nullptr, 0.0f, 0.0f);
  gfx->PrintText(0, "A", std::numeric_limits<f32>::quiet_NaN(), 1e30f);

  // A font picture of 16 x 8 one-pixel cells: glyph 0 black, glyph 1 white.
  ScopedTempDir dir;
  Surface picture;
  Rows cells(8, std::string(16, 'A'));
  SurfaceFromRows(picture, cells);
  picture.pixels[0] = 0x0000;
  picture.pixels[1] = 0xFFFF;
  ASSERT_EQ(1, picture.SaveBmp(dir.File("font.bmp").c_str()));
  ASSERT_EQ(1, gfx->LoadFont(3, dir.File("font.bmp").c_str()));
  EXPECT_EQ(1, gfx->fonts[3].glyphs[0].hasKey);  // black is transparent until a colour is set
  EXPECT_EQ(0, gfx->fonts[3].glyphs[1].hasKey);
  gfx->SetTransparentColour(0xF8FCF8);  // white as the BMP holds it
  EXPECT_EQ(0xF8FCF8u, gfx->transparentColour);
  ASSERT_EQ(1, gfx->LoadFont(3, dir.File("font.bmp").c_str()));
  EXPECT_EQ(0, gfx->fonts[3].glyphs[0].hasKey);
  EXPECT_EQ(1, gfx->fonts[3].glyphs[1].hasKey);
  EXPECT_EQ(0, gfx->LoadFont(3, dir.File("missing.bmp").c_str()));
  EXPECT_EQ(0, gfx->GetFontSize(3).width);
}

bool activeWhileShellRuns = true;

TEST_F(GraphicsDevice, ShellCommandSwitchesTheActiveFlagOff) {
  static OpenGLRainbows* device = nullptr;
  device = gfx.get();
  Platform().runShell = [](const char*) {
    activeWhileShellRuns = device->active != 0;
    return 0;
  };
  EXPECT_EQ(1, gfx->Activate());
  DynString command("true");
  f32 result = 0.0f;
  RunShellCommand(command, 1.0f, 0.0f, result);
  EXPECT_FALSE(activeWhileShellRuns);
  EXPECT_EQ(1, gfx->active);
  EXPECT_EQ(1, gfx->Deactivate());
  RunShellCommand(command, 1.0f, 0.0f, result);
  EXPECT_EQ(0, gfx->active);
  gfx.reset();  // a device that is gone is no longer switched
  Platform().runShell = [](const char*) { return 0; };
  RunShellCommand(command, 1.0f, 0.0f, result);
  ResetPlatformOps();
}

TEST_F(GraphicsDevice, SlotNumbersOutOfRangeDoNothing) {
  ScopedTempDir dir;
  const std::string file = dir.File("x.bmp");
  Surface picture;
  SurfaceFromRows(picture, {"AB"});
  ASSERT_EQ(1, picture.SaveBmp(file.c_str()));
  PutSprite(0, {"AB"});
  OpenGLRainbows* g = gfx.get();
  const char* name = file.c_str();
  enum Table { kSprites, kScreens, kSmall };  // kSmall: fonts and draw-into-sprite slots
  struct Op {
    const char* what;
    Table table;
    std::function<i64(i32)> run;  // 0 when nothing happened
  };
  const Op ops[] = {
      {"DrawSprite", kSprites, [&](i32 s) { return g->DrawSprite(s, 0, 0), 0; }},
      {"StretchSprite", kSprites, [&](i32 s) { return g->StretchSprite(s, 0, 0, 4, 4), 0; }},
      {"SetSpriteFrameSize", kSprites, [&](i32 s) { return g->SetSpriteFrameSize(s, 1, 1), 0; }},
      {"DrawAnimFrame", kSprites, [&](i32 s) { return g->DrawAnimFrame(s, 0, 0, 0), 0; }},
      {"DrawSpriteRotoZoom", kSprites,
       [&](i32 s) { return g->DrawSpriteRotoZoom(s, 0, 0, 5, 2), 0; }},
      {"SpritesCollideAt", kSprites,
       [&](i32 s) {
         return g->SpritesCollideAt(s, 0, 0, 0, 0, 0) + g->SpritesCollideAt(0, s, 0, 0, 0, 0);
       }},
      {"SpritesCollide", kSprites,
       [&](i32 s) {
         return g->SpritesCollide(s, 0, 0, 0, 0, 0, 0, 0) +
                g->SpritesCollide(0, 0, 0, 0, s, 0, 0, 0);
       }},
      {"GrabSprite", kSprites, [&](i32 s) { return g->GrabSprite(s, 0, 0, 2, 2) - 1; }},
      {"ClearSprite", kSprites, [&](i32 s) { return g->ClearSprite(s), 0; }},
      {"GetSpriteSize", kSprites, [&](i32 s) { return g->GetSpriteSize(s).width; }},
      {"LoadSprite", kSprites, [&](i32 s) { return g->LoadSprite(s, name, 0x8000FF); }},
      {"SaveSprite", kSprites, [&](i32 s) { return g->SaveSprite(s, name); }},
      {"CreateOffscreenSprite", kSprites,
       [&](i32 s) { return CreateOffscreenSprite(g, 0, s, 4, 4), g->offscreen[0].sprite; }},
      {"SelectSpriteTexture", kSprites,
       [&](i32 s) {
         return SelectSpriteTexture(g, s), i64{GetSoftRenderContext().texture != nullptr};
       }},
      {"DrawSpriteQuadFrame", kSprites,
       [&](i32 s) {
         return DrawSpriteQuadFrame(g, s, 0, 0, 0, 4, 4), i64{LastSubmittedFloatMesh().submissions};
       }},
      {"DrawSpriteQuadRotoZoom", kSprites,
       [&](i32 s) {
         return DrawSpriteQuadRotoZoom(g, s, 0, 0, 0, 0, 1),
                i64{LastSubmittedFloatMesh().submissions};
       }},
      {"DrawScreenSlot", kScreens, [&](i32 s) { return g->DrawScreenSlot(s), 0; }},
      {"GrabScreenSlot", kScreens, [&](i32 s) { return g->GrabScreenSlot(s), 0; }},
      {"ClearScreenSlot", kScreens, [&](i32 s) { return g->ClearScreenSlot(s), 0; }},
      {"LoadScreenSlot", kScreens, [&](i32 s) { return g->LoadScreenSlot(s, name); }},
      {"PrintText", kSmall, [&](i32 s) { return g->PrintText(s, "AB", 0, 0), 0; }},
      {"LoadFont", kSmall, [&](i32 s) { return g->LoadFont(s, name); }},
      {"GetFontSize", kSmall, [&](i32 s) { return g->GetFontSize(s).height; }},
      {"LoadDefaultFont", kSmall, [&](i32 s) { return LoadDefaultFont(g, s), 0; }},
      {"CreateOffscreenSprite slot", kSmall,
       [&](i32 s) { return CreateOffscreenSprite(g, s, 0, 4, 4), 0; }},
      {"BeginOffscreenDraw", kSmall,
       [&](i32 s) { return BeginOffscreenDraw(g, s), g->currentOffscreen + 1; }},
  };
  const i32 past[] = {kSpriteSlotCount, kScreenSlotCount, kFontSlotCount};
  for (const Op& op : ops) {
    for (i32 slot : {-1, INT_MIN, INT_MAX, past[op.table]}) {
      Reset(4, 2);
      ResetSubmittedFloatMesh();
      PaintTarget({"ABCD", "EFGH"});
      EXPECT_EQ(0, op.run(slot)) << op.what << " " << slot;
      EXPECT_EQ((Rows{"ABCD", "EFGH"}), TargetRows()) << op.what << " " << slot;
      EXPECT_EQ((Rows{"AB"}), SurfaceRows(*g->Sprite(0))) << op.what << " " << slot;
    }
  }
  for (i32 font = 0; font < kFontSlotCount; ++font) EXPECT_EQ(0, g->GetFontSize(font).width);
}

}  // namespace

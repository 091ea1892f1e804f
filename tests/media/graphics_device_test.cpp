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
#include "media/textured_quads.h"
#include "platform/platform_ops.h"
#include "render/float_mesh.h"
#include "render/soft_render_context.h"
#include "tests/media/device_fixture.h"
#include "tests/support/test_support.h"

namespace {

constexpr f32 kNaN = std::numeric_limits<f32>::quiet_NaN();

// A w x h canvas of '.' with a block of a letter.
Rows Block(i32 w, i32 h, char c = '.', i32 x = 0, i32 y = 0, i32 bw = 0, i32 bh = 0) {
  Rows rows(h, std::string(w, '.'));
  for (i32 r = std::max(y, 0); r < std::min(y + bh, h); ++r)
    for (i32 col = std::max(x, 0); col < std::min(x + bw, w); ++col) rows[r][col] = c;
  return rows;
}

using GraphicsDevice = DeviceTest;

TEST_F(GraphicsDevice, FillRectEndsAtTheGivenCornerForNegativeSizes) {
  struct Case {
    i32 x, y, w, h;
    Rows target;
  };
  const Case cases[] = {
      {10, 10, -3, 2, Block(12, 12, 'A', 8, 10, 3, 2)},
      {0, 0, -1, -1, Block(12, 12, 'A', 0, 0, 1, 1)},
      {-2, 3, 3, 0, Block(12, 12)},
      {-2, 3, 3, 1, Block(12, 12, 'A', 0, 3, 1, 1)},
      {9, 11, INT_MAX, INT_MAX, Block(12, 12, 'A', 9, 11, 3, 1)},
      {5, 3, INT_MIN, 1, Block(12, 12, 'A', 0, 3, 6, 1)},
      {INT_MIN, 0, INT_MIN, 1, Block(12, 12)},
  };
  for (const Case& c : cases) {
    Reset(12, 12);
    FillRect(c.x, c.y, c.w, c.h, LetterRed('A'));
    EXPECT_EQ(c.target, TargetRows()) << c.x << "," << c.y << " " << c.w << "x" << c.h;
  }
  gfx->SetViewport(2, 1, 3, 2);
  FillRect(-1, -1, 10, 10, LetterRed('A'));
  EXPECT_EQ(Block(12, 12, 'A', 2, 1, 3, 2), TargetRows());
}

TEST_F(GraphicsDevice, ViewportIsStoredAsAskedClippedForTheTargetAndResetsTheRenderer) {
  struct Case {
    i32 x, y, w, h;
    std::array<i32, 4> stored, target;
  };
  const Case cases[] = {
      {0, 0, 0, 0, {0, 0, 160, 120}, {0, 0, 160, 120}},
      {-10, 0, 100, 50, {-10, 0, 100, 50}, {0, 0, 100, 50}},
      {150, 100, 20, 30, {150, 100, 20, 30}, {150, 100, 10, 20}},
      {3, 3, -5, 2, {3, 3, 160, 120}, {3, 3, 157, 117}},
  };
  Reset(160, 120);
  for (const Case& c : cases) {
    GetSoftRenderContext().SetDepthTest(1);
    GetSoftRenderContext().modelView[0][1] = 7;
    gfx->SetViewport(c.x, c.y, c.w, c.h);
    const RenderTarget& rt = GetRenderTarget();
    const RendererCallRecord& r = GetRendererCallRecord();
    EXPECT_EQ(c.stored, (std::array{gfx->viewportX, gfx->viewportY, gfx->viewportWidth,
                                    gfx->viewportHeight}));
    EXPECT_EQ(c.target,
              (std::array{rt.viewportX, rt.viewportY, rt.viewportWidth, rt.viewportHeight}));
    EXPECT_EQ(c.stored, std::to_array(r.viewport));  // the renderer gets it unclipped
    EXPECT_EQ((std::array{0, c.stored[2], c.stored[3], 0}), std::to_array(r.orthoBounds));
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
  SetPixel(-1, -1, LetterRed('A'));  // outside the viewport, inside the target
  SetPixel(2, 0, LetterRed('B'));    // beyond the target
  SetPixel(INT_MAX, INT_MAX, LetterRed('B'));
  DrawLine(-2, 1, 1, 1, LetterRed('C'));
  EXPECT_EQ((Rows{".A..", "....", "CCCC"}), TargetRows());
  EXPECT_EQ(0u, GetPixel(2, 0));
  EXPECT_EQ(0u, GetPixel(INT_MIN, 0));
  for (const auto& [stored, read] :
       {std::pair<u16, u32>{0xFFFF, 0x00F8FCF8}, {0xF810, 0x008000F8}, {0x0001, 0x00080000}}) {
    GetRenderTarget().colourBuffer[0] = stored;
    EXPECT_EQ(read, GetPixel(-2, -1)) << stored;  // widened with the low bits zero
  }
  GetRenderTarget().colourBuffer[0] = 0;
  GetRenderTarget().SetBlend(-128);
  SetPixel(-2, -1, 0x0000FF);
  EXPECT_EQ(0x7800, PixelAt(0, 0));
}

TEST_F(GraphicsDevice, AnimationFramesRunAcrossThenDown) {
  Rows sheet(32, std::string(64, '.'));  // 16 x 16 frames, frame n filled with 'A' + n
  for (i32 y = 0; y < 32; ++y)
    for (i32 x = 0; x < 64; ++x) sheet[y][x] = static_cast<char>('A' + y / 16 * 4 + x / 16);
  PutSprite(3, sheet);
  Rows wide = Block(20, 20, 'A', 2, 2, 16, 8);
  for (i32 y = 2; y < 10; ++y) wide[y].replace(18, 2, "BB");
  struct Case {
    i16 frameWidth, frameHeight;
    i32 frame;
    Rows target;
  };
  const Case cases[] = {
      {16, 16, 5, Block(20, 20, 'F', 2, 2, 16, 16)},  // frame 5 comes from (16, 16)
      {16, 16, 7, Block(20, 20, 'H', 2, 2, 16, 16)},
      {16, 16, 8, Block(20, 20)},  // below the sheet
      {16, 16, -1, Block(20, 20)},
      {16, 16, INT_MIN, Block(20, 20)},
      {0, 16, 0, Block(20, 20)},   // no frame size
      {100, 8, 0, wide},           // wider than the sheet: frame 0 from the left edge,
      {100, 8, 1, Block(20, 20)},  // and nothing for the others
      {100, 8, INT_MAX, Block(20, 20)},
  };
  for (const Case& c : cases) {
    Reset(20, 20);
    gfx->SetSpriteFrameSize(3, c.frameWidth, c.frameHeight);
    gfx->DrawAnimFrame(3, c.frame, 2, 2);
    EXPECT_EQ(c.target, TargetRows()) << c.frameWidth << "x" << c.frameHeight << " #" << c.frame;
  }
}

TEST_F(GraphicsDevice, CollisionCountsAFrameWiderThanTheSheetAsOnePerRow) {
  PutSprite(1, {"B.", "..", "AA", "AA"});  // frames of 5 x 2: frame n lies at (0, 2n)
  gfx->SetSpriteFrameSize(1, 5, 2);
  PutSprite(2, {"C"});  // one solid pixel, no key
  PutSprite(4, {"D.E.", "...."});
  gfx->SetSpriteFrameSize(4, 2, 2);
  struct Case {
    i32 a, aFrame, b, bFrame, bx, by, hit;
  };
  for (const Case& c :
       {Case{1, 0, 2, 0, 0, 0, 1}, Case{1, 0, 2, 0, 1, 0, 0}, Case{1, 1, 2, 0, 1, 0, 1},
        Case{1, 1, 2, 0, 0, 1, 1}, Case{1, 2, 2, 0, 0, 0, 0}, Case{1, INT_MAX, 2, 0, 0, 0, 0},
        Case{4, 1, 2, 0, 0, 0, 1}, Case{4, 1, 2, 0, 1, 0, 0}, Case{2, 0, 4, 1, 0, 0, 1}}) {
    EXPECT_EQ(c.hit,
              gfx->SpritesCollide(c.a, c.aFrame, 10, 10, c.b, c.bFrame, 10 + c.bx, 10 + c.by))
        << c.a << " frame " << c.aFrame << " at " << c.bx << "," << c.by;
  }
  EXPECT_EQ(1, gfx->SpritesCollideAt(4, 2, 0, 0, 2, 0));
  EXPECT_EQ(0, gfx->SpritesCollideAt(4, 2, 0, 0, 3, 0));
  Reset(4, 4);
  gfx->DrawAnimFrame(1, 1, 0, 0);  // the drawing has no second row of frames
  EXPECT_EQ(Block(4, 4), TargetRows());
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
  PutSprite(1, Block(10, 10, 'A', 0, 0, 10, 10));
  const std::array<i32, 4> none = {40, 40, -1, -1};
  struct Case {
    f32 angle, scale;
    i32 x;
    std::array<i32, 4> box;
  };
  const Case cases[] = {
      {0.0f, 1.0f, 12, {12, 12, 21, 21}},  // the sprite's own rectangle
      {kNaN, 1.0f, 12, {12, 12, 21, 21}},
      {0.0f, 2.0f, 12, {8, 8, 27, 27}},  // 16.16 sampling of the doubled square
      {0.0f, -2.0f, 12, {8, 8, 27, 27}},
      {360.0f, -1.0f, 12, {13, 13, 22, 22}},  // stretched, not drawn: sampled a pixel late
      {0.0f, 0.0f, 12, none},
      {0.0f, kNaN, 12, none},
      {0.0f, 1e30f, 12, none},  // saturated; only key-coloured margin is sampled
      {0.0f, 1.0f, INT_MIN, none},
      {0.0f, 3.0f, INT_MAX, none},
  };
  for (const Case& c : cases) {
    Reset(40, 40);
    gfx->DrawSpriteRotoZoom(1, c.x, 12, c.angle, c.scale);
    EXPECT_EQ(c.box, DrawnBox()) << c.angle << " x" << c.scale;
  }
  gfx->DrawSpriteRotoZoom(1, 12, 12, 45.0f, -2.0f);
  const Rows negative = TargetRows();
  Reset(40, 40);
  gfx->DrawSpriteRotoZoom(1, 12, 12, 45.0f, 2.0f);
  EXPECT_EQ(negative, TargetRows());
}

TEST_F(GraphicsDevice, GrabRecordsTheSizeOfTheSurfaceItBuilt) {
  const Rows screen = {"ABCDEF", "GHIJKL", "MNOPQR", "STUVWX"};
  struct Case {
    i32 x, y, w, h;
    Rows rows;
  };
  const Case cases[] = {
      {1, 1, 3, 2, {"HIJ", "NOP"}},
      {4, 1, -3, -2, {"KL.", "QR."}},  // |w| x |h| from the given corner
      {0, 0, 0, 5, {}},
      {INT_MAX, 0, 5, 1, {}},
  };
  for (const Case& c : cases) {
    Reset(6, 4);
    PaintTarget(screen);
    EXPECT_EQ(1, gfx->GrabSprite(9, c.x, c.y, c.w, c.h));
    const SpriteInfo& info = *gfx->Info(9);
    const i16 w = c.rows.empty() ? 0 : c.rows[0].size(), h = c.rows.size();
    EXPECT_EQ((std::array<i16, 4>{w, h, w, h}),
              (std::array{info.width, info.height, info.loadedWidth, info.loadedHeight}))
        << c.x << "," << c.y;
    if (w > 0) {
      EXPECT_EQ(c.rows, SurfaceRows(*gfx->Sprite(9)));
    }
  }
  gfx->GrabScreenSlot(2);
  Reset(6, 4);
  gfx->DrawScreenSlot(2);
  EXPECT_EQ(screen, TargetRows());
}

TEST_F(GraphicsDevice, TextAndFontsUseTheirOwnTransparentColour) {
  LoadDefaultFont(gfx.get(), 0);
  EXPECT_EQ(8, gfx->GetFontSize(0).width);
  Reset(24, 10);
  gfx->fonts[0].DrawText(reinterpret_cast<const u8*>("AB"), 1, 0);
  const Rows expected = TargetRows();
  Reset(24, 10);
  gfx->PrintText(0, "AB", 1.9f, -0.5f);  // truncated toward zero
  EXPECT_EQ(expected, TargetRows());
  gfx->PrintText(0, nullptr, 0.0f, 0.0f);
  gfx->PrintText(0, "A", kNaN, 1e30f);

  // A picture of 16 x 8 one-pixel cells: glyph 0 black, glyph 1 white as a BMP holds it.
  ScopedTempDir dir;
  Surface picture;
  SurfaceFromRows(picture, Rows(8, std::string(16, 'A')));
  picture.pixels[0] = 0x0000;
  picture.pixels[1] = 0xFFFF;
  const std::string file = dir.File("font.bmp");
  ASSERT_EQ(1, picture.SaveBmp(file.c_str()));
  struct Case {
    u32 set;  // 1: nothing set yet
    u8 blackKeyed, whiteKeyed;
  };
  for (const Case& c : {Case{1, 1, 0}, Case{0xF8FCF8, 0, 1}}) {
    if (c.set != 1) gfx->SetTransparentColour(c.set);
    ASSERT_EQ(1, gfx->LoadFont(3, file.c_str()));
    EXPECT_EQ(c.blackKeyed, gfx->fonts[3].glyphs[0].hasKey) << c.set;
    EXPECT_EQ(c.whiteKeyed, gfx->fonts[3].glyphs[1].hasKey) << c.set;
  }
  EXPECT_EQ(0xF8FCF8u, gfx->transparentColour);
}

TEST_F(GraphicsDevice, ShellCommandSwitchesTheActiveFlagOff) {
  static OpenGLRainbows* device = nullptr;
  static bool activeDuringShell = true;
  device = gfx.get();
  Platform().runShell = [](const char*) {
    activeDuringShell = device != nullptr && device->active != 0;
    return 0;
  };
  DynString command("true");
  f32 result = 0.0f;
  for (const bool active : {true, false}) {
    EXPECT_EQ(1, active ? gfx->Activate() : gfx->Deactivate());
    RunShellCommand(command, 1.0f, 0.0f, result);
    EXPECT_FALSE(activeDuringShell);
    EXPECT_EQ(active, gfx->active != 0);
  }
  gfx.reset();  // a device that is gone is no longer switched
  device = nullptr;
  RunShellCommand(command, 1.0f, 0.0f, result);
  ResetPlatformOps();
}

// One entry point called with slot s; 0 when nothing happened.
#define SLOT_OP(table, expr)                         \
  Op {                                               \
#expr, table, [&](i32 s) -> i64 { return expr; } \
  }

TEST_F(GraphicsDevice, SlotNumbersOutOfRangeDoNothing) {
  ScopedTempDir dir;
  const std::string file = dir.File("x.bmp");
  PutSprite(0, {"AB"});
  ASSERT_EQ(1, gfx->Sprite(0)->SaveBmp(file.c_str()));
  OpenGLRainbows* g = gfx.get();
  const char* name = file.c_str();
  const SubmittedFloatMesh& mesh = LastSubmittedFloatMesh();
  enum Table { kSprites, kScreens, kSmall };  // kSmall: fonts and draw-into-sprite slots
  struct Op {
    const char* what;
    Table table;
    std::function<i64(i32)> run;
  };
  const Op ops[] = {
      SLOT_OP(kSprites, (g->DrawSprite(s, 0, 0), 0)),
      SLOT_OP(kSprites, (g->StretchSprite(s, 0, 0, 4, 4), 0)),
      SLOT_OP(kSprites, (g->SetSpriteFrameSize(s, 1, 1), g->DrawAnimFrame(s, 0, 0, 0), 0)),
      SLOT_OP(kSprites, (g->DrawSpriteRotoZoom(s, 0, 0, 5, 2), 0)),
      SLOT_OP(kSprites,
              g->SpritesCollideAt(s, 0, 0, 0, 0, 0) + g->SpritesCollideAt(0, s, 0, 0, 0, 0)),
      SLOT_OP(kSprites, g->SpritesCollide(s, 0, 0, 0, 0, 0, 0, 0) +
                            g->SpritesCollide(0, 0, 0, 0, s, 0, 0, 0)),
      SLOT_OP(kSprites, g->GrabSprite(s, 0, 0, 2, 2) - 1),
      SLOT_OP(kSprites, (g->ClearSprite(s), g->GetSpriteSize(s).width)),
      SLOT_OP(kSprites, g->LoadSprite(s, name, 0x8000FF) + g->SaveSprite(s, name)),
      SLOT_OP(kSprites, (CreateOffscreenSprite(g, 0, s, 4, 4), g->offscreen[0].sprite)),
      SLOT_OP(kSprites, (SelectSpriteTexture(g, s), GetSoftRenderContext().texture != nullptr)),
      SLOT_OP(kSprites, (DrawSpriteQuadFrame(g, s, 0, 0, 0, 4, 4), mesh.submissions)),
      SLOT_OP(kSprites, (DrawSpriteQuadRotoZoom(g, s, 0, 0, 0, 0, 1), mesh.submissions)),
      SLOT_OP(kScreens, (g->GrabScreenSlot(s), g->DrawScreenSlot(s), g->ClearScreenSlot(s), 0)),
      SLOT_OP(kScreens, g->LoadScreenSlot(s, name)),
      SLOT_OP(kSmall,
              (g->PrintText(s, "AB", 0, 0), LoadDefaultFont(g, s), g->GetFontSize(s).height)),
      SLOT_OP(kSmall, g->LoadFont(s, name)),
      SLOT_OP(kSmall, (CreateOffscreenSprite(g, s, 0, 4, 4), 0)),
      SLOT_OP(kSmall, (BeginOffscreenDraw(g, s), g->currentOffscreen + 1)),
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

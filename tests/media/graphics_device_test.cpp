// The graphics device: primitives, the viewport, animation frames, collisions of frames, rotated
// and zoomed sprites, grabbing, fonts, the active flag, and slot numbers out of range.
#include "media/graphics_device.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <functional>
#include <limits>
#include <tuple>

#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "media/builtin_font.h"
#include "media/graphics_commands.h"
#include "media/image_commands.h"
#include "media/textured_quads.h"
#include "platform/platform_ops.h"
#include "render/soft_render_context.h"
#include "tests/media/media_test_util.h"
#include "tests/support/test_support.h"

namespace {

constexpr f32 kNaN = std::numeric_limits<f32>::quiet_NaN();

using GraphicsDevice = DeviceTest;

TEST_F(GraphicsDevice, FillRectEndsAtTheGivenCornerForNegativeSizes) {
  for (auto [x, y, w, h, box] : {std::tuple{6, 5, -3, 2, std::array{4, 5, 6, 6}},
                                 {-2, 3, 3, 1, {0, 3, 0, 3}},
                                 {5, 6, INT_MAX, INT_MAX, {5, 6, 7, 7}},
                                 {5, 3, INT_MIN, 1, {0, 3, 5, 3}},
                                 {INT_MIN, 0, INT_MIN, 1, {8, 8, -1, -1}}}) {
    Reset(8, 8);
    FillRect(x, y, w, h, 0xFFFFFF);
    EXPECT_EQ(box, DrawnBox()) << x << "," << y << " " << w << "x" << h;
  }
}

TEST_F(GraphicsDevice, ViewportIsStoredAsAskedClippedForTheTargetAndResetsTheRenderer) {
  using A = std::array<i32, 4>;
  Reset(160, 120);
  // The renderer maps onto the viewport as stored (centre and half sizes); it clips by itself.
  for (auto [asked, stored, target, mapping] :
       {std::tuple{A{-10, 0, 100, 50}, A{-10, 0, 100, 50}, A{0, 0, 100, 50}, A{40, 25, 50, 25}},
        {A{150, 100, 20, 30}, A{150, 100, 20, 30}, A{150, 100, 10, 20}, A{160, 115, 10, 15}},
        {A{3, 3, 0, 2}, A{3, 3, 160, 120}, A{3, 3, 157, 117}, A{83, 63, 80, 60}}}) {  // 0: all
    SoftRenderContext& renderer = GetSoftRenderContext();
    renderer.SetDepthTest(1);
    gfx->SetViewport(asked[0], asked[1], asked[2], asked[3]);
    const RenderTarget& rt = GetRenderTarget();
    EXPECT_EQ(stored, (A{gfx->viewportX, gfx->viewportY, gfx->viewportWidth, gfx->viewportHeight}));
    EXPECT_EQ(target, (A{rt.viewportX, rt.viewportY, rt.viewportWidth, rt.viewportHeight}));
    const VertexPipeline& p = renderer.pipeline;
    EXPECT_EQ(mapping, (A{p.centreX >> 16, p.centreY >> 16, p.halfWidth, p.halfHeight}));
    EXPECT_EQ(0u, renderer.depthTestEnabled);
    EXPECT_EQ(VertexPipeline::kCullNonPositive, p.cullMode);
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
  EXPECT_EQ(0u, GetPixel(2, 0) | GetPixel(INT_MIN, 0));
  for (auto [stored, read] :
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
  Rows sheet(16, std::string(16, '.'));  // 4 x 4 frames of 4 x 4, frame n filled with 'A' + n
  for (i32 y = 0; y < 16; ++y)
    for (i32 x = 0; x < 16; ++x) sheet[y][x] = static_cast<char>('A' + y / 4 * 4 + x / 4);
  PutSprite(3, sheet);
  for (auto [fw, fh, frame, letter, box] : {std::tuple{4, 2, 6, 'C', std::array{2, 2, 5, 3}},
                                            {4, 4, 15, 'P', {2, 2, 5, 5}},
                                            {4, 4, 16, '?', {20, 20, -1, -1}},  // below the sheet
                                            {4, 8, INT_MIN, '?', {20, 20, -1, -1}},  // no wrap
                                            {0, 4, 0, '?', {20, 20, -1, -1}},  // no frame size
                                            {20, 4, 0, 'A', {2, 2, 17, 5}},  // wider than the sheet
                                            {20, 4, 1, '?', {20, 20, -1, -1}},  // only frame 0
                                            {20, 4, INT_MAX, '?', {20, 20, -1, -1}}}) {
    Reset(20, 20);
    gfx->SetSpriteFrameSize(3, fw, fh);
    gfx->DrawAnimFrame(3, frame, 2, 2);
    EXPECT_EQ(box, DrawnBox()) << fw << "x" << fh << " #" << frame;
    EXPECT_EQ(letter, box[2] >= 0 ? PixelLetter(PixelAt(2, 2)) : '?') << frame;
  }
}

TEST_F(GraphicsDevice, CollisionCountsAFrameWiderThanTheSheetAsOnePerRow) {
  PutSprite(1, {"B.", "..", "AA", "AA"});  // frames of 5 x 2: frame n lies at (0, 2n)
  gfx->SetSpriteFrameSize(1, 5, 2);
  PutSprite(2, {"C"});  // one solid pixel, no key
  PutSprite(4, {"D.E.", "...."});
  gfx->SetSpriteFrameSize(4, 2, 2);
  for (auto [a, aFrame, b, bFrame, bx, by, hit] :
       {std::array{1, 0, 2, 0, 0, 0, 1}, {1, 0, 2, 0, 1, 0, 0}, {1, 1, 2, 0, 1, 1, 1},
        {1, 2, 2, 0, 0, 0, 0}, {1, INT_MAX, 2, 0, 0, 0, 0}, {4, 1, 2, 0, 0, 0, 1},
        {4, 1, 2, 0, 1, 0, 0}, {2, 0, 4, 1, 0, 0, 1}}) {
    EXPECT_EQ(hit, gfx->SpritesCollide(a, aFrame, 10, 10, b, bFrame, 10 + bx, 10 + by))
        << a << " frame " << aFrame << " at " << bx << "," << by;
  }
  EXPECT_EQ(1, gfx->SpritesCollideAt(4, 2, 0, 0, 2, 0));
  EXPECT_EQ(0, gfx->SpritesCollideAt(4, 2, 0, 0, 3, 0));
}

TEST_F(GraphicsDevice, RotoZoomKeepsTheCentreAndDrawsNothingForUnusableNumbers) {
  PutSprite(1, Rows(10, std::string(10, 'A')));
  const std::array<i32, 4> none = {40, 40, -1, -1};
  for (auto [angle, scale, x, box] : {std::tuple{0.0f, 1.0f, 12, std::array{12, 12, 21, 21}},
                                      {kNaN, 1.0f, 12, {12, 12, 21, 21}},
                                      {0.0f, -2.0f, 12, {8, 8, 27, 27}},  // 16.16 sampling
                                      {0.0f, 0.0f, 12, none},
                                      {0.0f, kNaN, 12, none},
                                      {0.0f, 1e30f, 12, none},  // only the key margin sampled
                                      {0.0f, 1.0f, INT_MIN, none},
                                      {0.0f, 3.0f, INT_MAX, none}}) {
    Reset(40, 40);
    gfx->DrawSpriteRotoZoom(1, x, 12, angle, scale);
    EXPECT_EQ(box, DrawnBox()) << angle << " x" << scale;
  }
  gfx->StretchSprite(1, INT_MAX, INT_MAX, INT_MAX, INT_MAX);
  gfx->StretchSprite(1, INT_MIN, 0, -1, 1);
  EXPECT_EQ(none, DrawnBox());
}

TEST_F(GraphicsDevice, GrabRecordsTheSizeOfTheSurfaceItBuilt) {
  const Rows screen = {"ABCDEF", "GHIJKL", "MNOPQR", "STUVWX"};
  for (auto [x, y, w, h, rows] : {std::tuple{4, 1, -3, -2, Rows{"KL.", "QR."}},  // from a corner
                                  {0, 0, 0, 5, Rows{}},
                                  {INT_MAX, 0, 5, 1, Rows{}}}) {
    Reset(6, 4);
    PaintTarget(screen);
    EXPECT_EQ(1, gfx->GrabSprite(9, x, y, w, h));
    const SpriteInfo& info = *gfx->Info(9);
    const i16 gw = rows.empty() ? 0 : rows[0].size(), gh = rows.size();
    EXPECT_EQ((std::array<i16, 4>{gw, gh, gw, gh}),
              (std::array{info.width, info.height, info.loadedWidth, info.loadedHeight}));
    EXPECT_EQ(rows, gw > 0 ? SurfaceRows(*gfx->Sprite(9)) : Rows{});
  }
  gfx->GrabScreenSlot(2);
  Reset(6, 4);
  gfx->DrawScreenSlot(2);
  EXPECT_EQ(screen, TargetRows());
}

// Fonts are cut with the transparent colour of the moment; text starts at truncated positions.
TEST_F(GraphicsDevice, TextAndFontsUseTheirOwnTransparentColour) {
  // A picture of 16 x 8 one-pixel cells: glyph 0 black, glyph 1 white as a BMP holds it.
  ScopedTempDir dir;
  Surface picture;
  SurfaceFromRows(picture, Rows(8, std::string(16, 'A')));
  picture.pixels[0] = 0x0000;
  picture.pixels[1] = 0xFFFF;
  const std::string file = dir.File("font.bmp");
  ASSERT_EQ(1, picture.SaveBmp(file.c_str()));
  for (auto [set, blackKeyed, whiteKeyed] : {std::array<u32, 3>{1, 1, 0}, {0xF8FCF8, 0, 1}}) {
    if (set != 1) gfx->SetTransparentColour(set);  // 1: nothing set yet
    ASSERT_EQ(1, gfx->LoadFont(3, file.c_str()));
    EXPECT_EQ(blackKeyed, gfx->fonts[3].glyphs[0].hasKey) << set;
    EXPECT_EQ(whiteKeyed, gfx->fonts[3].glyphs[1].hasKey) << set;
  }
  gfx->PrintText(3, "\x02\x02", 1.9f, -0.5f);  // truncated toward zero
  EXPECT_EQ((Rows{".AA....."}), Rows{TargetRows()[0]});
  gfx->PrintText(3, nullptr, 0.0f, 0.0f);
  gfx->PrintText(3, "A", kNaN, 1e30f);
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
#define SLOT_OP(table, expr) \
  Op { #expr, table, [&](i32 s) -> i64 { return expr; } }

// Every entry point that takes a slot number, on the device and in the commands above it.
TEST_F(GraphicsDevice, SlotNumbersOutOfRangeDoNothing) {
  ScopedTempDir dir;
  const std::string file = dir.File("x.bmp");
  PutSprite(0, {"AB"});
  ASSERT_EQ(1, gfx->Sprite(0)->SaveBmp(file.c_str()));
  OpenGLRainbows* g = gfx.get();
  graphicsDevice = g;
  const char* name = file.c_str();
  enum Table { kSprites, kScreens, kSmall };  // kSmall: fonts and draw-into-sprite slots
  struct Op {
    const char* what;
    Table table;
    std::function<i64(i32)> run;
  };
  const DynString absent("absent.bmp");
  const Op ops[] = {
      SLOT_OP(kSprites, (g->DrawSprite(s, 0, 0), 0)),
      SLOT_OP(kSprites, (g->StretchSprite(s, 0, 0, 4, 4), StretchSpriteCommand(s, 0, 0, 2, 2), 0)),
      SLOT_OP(kSprites, (g->SetSpriteFrameSize(s, 1, 1), g->DrawAnimFrame(s, 0, 0, 0), 0)),
      SLOT_OP(kSprites, (g->DrawSpriteRotoZoom(s, 0, 0, 5, 2), 0)),
      SLOT_OP(kSprites,
              g->SpritesCollideAt(s, 0, 0, 0, 0, 0) + g->SpritesCollideAt(0, s, 0, 0, 0, 0)),
      SLOT_OP(kSprites, g->SpritesCollide(s, 0, 0, 0, 0, 0, 0, 0) +
                            g->SpritesCollide(0, 0, 0, 0, s, 0, 0, 0)),
      SLOT_OP(kSprites, g->GrabSprite(s, 0, 0, 2, 2) - 1),
      SLOT_OP(kSprites, (g->ClearSprite(s), g->GetSpriteSize(s).width)),
      SLOT_OP(kSprites, g->LoadSprite(s, name, 0x8000FF) + g->SaveSprite(s, name)),
      SLOT_OP(kSprites, (LoadSpriteFile(absent, s), LoadAnimSpriteFile(absent, s, 2, 2), 0)),
      SLOT_OP(kSprites, GetSpriteInfoWordCommand(s)),
      SLOT_OP(kSprites, (CreateOffscreenSprite(g, 0, s, 4, 4), g->offscreen[0].sprite)),
      SLOT_OP(kSprites, (CreateOffscreenSpriteCommand(0, s, 4, 4), g->offscreen[0].sprite)),
      SLOT_OP(kSprites, (SelectSpriteTexture(g, s), GetSoftRenderContext().texture != nullptr)),
      SLOT_OP(kSprites, (DrawSpriteQuadFrame(g, s, 0, 0, 0, 4, 4), 0)),
      SLOT_OP(kSprites, (DrawSpriteQuadRotoZoom(g, s, 0, 0, 0, 0, 1), 0)),
      SLOT_OP(kScreens, (g->GrabScreenSlot(s), g->DrawScreenSlot(s), g->ClearScreenSlot(s), 0)),
      SLOT_OP(kScreens, g->LoadScreenSlot(s, name)),
      SLOT_OP(kSmall,
              (g->PrintText(s, "AB", 0, 0), LoadDefaultFont(g, s), g->GetFontSize(s).height)),
      SLOT_OP(kSmall, g->LoadFont(s, name)),
      SLOT_OP(kSmall,
              (CreateOffscreenSprite(g, s, 0, 4, 4), CreateOffscreenSpriteCommand(s, 0, 4, 4), 0)),
      SLOT_OP(kSmall,
              (BeginOffscreenDraw(g, s), SelectOffscreenCommand(s), g->currentOffscreen + 1)),
  };
  const i32 past[] = {kSpriteSlotCount, kScreenSlotCount, kFontSlotCount};
  for (const Op& op : ops) {
    for (i32 slot : {-1, INT_MIN, INT_MAX, past[op.table]}) {
      Reset(4, 2);
      PaintTarget({"ABCD", "EFGH"});
      EXPECT_EQ(0, op.run(slot)) << op.what << " " << slot;
      EXPECT_EQ((Rows{"ABCD", "EFGH"}), TargetRows()) << op.what << " " << slot;
      EXPECT_EQ((Rows{"AB"}), SurfaceRows(*g->Sprite(0))) << op.what << " " << slot;
    }
  }
  for (i32 font = 0; font < kFontSlotCount; ++font) EXPECT_EQ(0, g->GetFontSize(font).width);
  graphicsDevice = nullptr;
}

}  // namespace

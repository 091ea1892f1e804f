// The contract between the generated assets and the game: every file the game loads is in its
// pack (the whole-game run plays from a folder of the program and its packs alone), loads through
// the runtime's own resolver, BMP/PNG readers and font cutter, has the size the game's drawing
// positions leave it, and keeps its opaque pixels clear of the 16-bit colour key. (That the
// landing sound and the music load and play from the packs is checked by the game's set-up test.)
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "files/file_resolver.h"
#include "media/bmp_image.h"
#include "media/font.h"
#include "media/rgba_image.h"

namespace {

const std::string kGameDir = STAKKO_GAME_DIR;
const std::string kFxPack = kGameDir + "/fxdata.sbx";
const std::string kStreamPack = kGameDir + "/streamdata.sbx";

// How a picture may use the see-through colour.
enum class Fill {
  kOpaque,      // none at all: it covers its whole rectangle (backgrounds, blocks, field, rails)
  kSeeThrough,  // some: its shape or lettering stands free, or something shows through it
  kEither,      // a banner may be a solid band or free-standing lettering
};

struct PictureRule {
  std::string name;
  i32 minW, maxW, minH, maxH;
  Fill fill;
};

// Every picture the game loads, with the sizes its drawing positions allow.
std::vector<PictureRule> PictureRules() {
  std::vector<PictureRule> rules = {
      {"field.bmp", 100, 100, 200, 200, Fill::kOpaque},    // 10 x 20 cells of 10
      {"field2.bmp", 40, 40, 50, 50, Fill::kOpaque},       // around the next piece at (270, 58)
      {"borderleft.bmp", 6, 6, 200, 200, Fill::kOpaque},   // 104..109 beside the field
      {"borderright.bmp", 6, 6, 200, 200, Fill::kOpaque},  // 210..215
      {"borderdown.bmp", 100, 100, 1, 7, Fill::kOpaque},   // 233 down to the screen's edge
      {"border2.bmp", 42, 42, 52, 52, Fill::kSeeThrough},  // a frame: the box shows inside
      {"score.bmp", 1, 102, 1, 14, Fill::kSeeThrough},     // above the score's digits at y 25
      {"lines.bmp", 1, 102, 1, 14, Fill::kSeeThrough},     // y 56, digits at 70
      {"level.bmp", 1, 102, 1, 14, Fill::kSeeThrough},     // y 105, digits at 120
      {"next.bmp", 1, 73, 1, 22, Fill::kSeeThrough},       // y 10, frame at 32
      {"gameover.bmp", 210, 320, 1, 160, Fill::kEither},   // across the field from x 0
      {"paused.bmp", 210, 320, 1, 160, Fill::kEither},
      {"handicap.bmp", 1, 70, 1, 30, Fill::kSeeThrough},  // rises from x 140 inside the field
      {"handycapline.bmp", 10, 10, 1, 10, Fill::kSeeThrough},
      {"stakkologo.bmp", 1, 270, 1, 60, Fill::kSeeThrough},     // at (50, 20), buttons from y 85
      {"koballogo.bmp", 200, 290, 40, 160, Fill::kSeeThrough},  // about 260 x 80 at (30, 80)
  };
  for (const char* back : {"", "2", "3", "4", "5"})
    rules.push_back({std::string("stakkoback") + back + ".bmp", 320, 320, 240, 240, Fill::kOpaque});
  for (const char* block : {"green", "red", "yellow", "blue", "lila", "pink", "orange"})
    rules.push_back({std::string(block) + "block.bmp", 10, 10, 10, 10, Fill::kOpaque});
  for (const char* button : {"start", "hiscores", "handicap", "exit"})
    for (const char* look : {"1.bmp", "2.bmp"})
      rules.push_back({std::string(button) + look, 40, 95, 16, 29, Fill::kSeeThrough});
  for (char d = '0'; d <= '9'; ++d)
    for (const char* look : {"_1.bmp", "_2.bmp"})
      rules.push_back({std::string(1, d) + look, 1, 14, 1, 24, Fill::kSeeThrough});
  return rules;
}

// One resolver context over a pack, as the game sets it up.
class PackFiles {
 public:
  explicit PackFiles(const std::string& pack) : context_(CreateFileResolverContext()) {
    context_->packName = pack;
  }
  ~PackFiles() { DeleteFileResolverContext(context_); }
  // The name a loader opens for `name` ("" when the pack does not have it), valid until the next
  // call.
  std::string Resolve(const std::string& name) {
    char out[kResolvedPathSize] = {};
    return ResolveFile(context_, name.c_str(), out, true) ? std::string(out) : "";
  }

 private:
  FileResolverContext* context_;
};

// The column after the last one of a glyph that holds a visible pixel (0 for an empty glyph), and
// the rows of its first and last visible pixels.
std::tuple<i32, i32, i32> GlyphInk(const Surface& glyph) {
  i32 right = 0, top = glyph.height, bottom = 0;
  for (i32 y = 0; y < glyph.height; ++y)
    for (i32 x = 0; x < glyph.width; ++x)
      if (glyph.pixels[y * glyph.width + x] != 0)
        right = std::max(right, x + 1), top = std::min(top, y), bottom = std::max(bottom, y + 1);
  return {right, top, bottom};
}

TEST(GameAssets, PicturesAndFontsLoadWithTheirSizesKeyAndPitches) {
  PackFiles fx(kFxPack);
  std::map<std::string, std::pair<i32, i32>> sizes;
  for (const PictureRule& rule : PictureRules()) {
    SCOPED_TRACE(rule.name);
    // A BMP (the writer's layout is its own test's business), through the runtime's reader.
    OwnedRgbaImage picture;
    const std::string name = fx.Resolve(rule.name);
    ASSERT_TRUE(name.starts_with("mem://"));
    ASSERT_EQ(LoadBmpImage(picture.image, name.c_str(), kNoColourKey), 1);
    const RgbaImage& img = picture.image;
    sizes[rule.name] = {img.width, img.height};
    EXPECT_TRUE(img.width >= rule.minW && img.width <= rule.maxW) << "width " << img.width;
    EXPECT_TRUE(img.height >= rule.minH && img.height <= rule.maxH) << "height " << img.height;
    // Black is the key; an opaque pixel the 16-bit screen would turn into black is a fault.
    i32 keyed = 0, fading = 0;
    for (i64 i = 0; i < i64{img.width} * img.height; ++i) {
      const u8* px = img.rgba + 4 * i;
      if (px[0] == 0 && px[1] == 0 && px[2] == 0) {
        ++keyed;
      } else if (px[0] < 8 && px[1] < 4 && px[2] < 8) {
        ++fading;
      }
    }
    EXPECT_EQ(fading, 0) << "opaque pixels the 16-bit screen turns into the key";
    if (rule.fill != Fill::kEither) {
      EXPECT_EQ(rule.fill == Fill::kSeeThrough, keyed > 0);
    }
    EXPECT_LT(keyed, img.width * img.height) << "nothing drawn";
  }
  // Pictures drawn in one another's place share their size.
  std::vector<std::pair<std::string, std::string>> pairs = {{"start1.bmp", "exit1.bmp"},
                                                            {"borderleft.bmp", "borderright.bmp"},
                                                            {"gameover.bmp", "paused.bmp"},
                                                            {"0_1.bmp", "7_1.bmp"}};
  for (const char* button : {"start", "hiscores", "handicap", "exit"})
    pairs.push_back({std::string(button) + "1.bmp", std::string(button) + "2.bmp"});
  for (char d = '0'; d <= '9'; ++d)
    pairs.push_back({d + std::string("_1.bmp"), d + std::string("_2.bmp")});
  for (const auto& [a, b] : pairs) EXPECT_EQ(sizes[a], sizes[b]) << a << " and " << b;
  // Font glyphs fit the pitches they are printed at.
  Font font;
  ASSERT_EQ(font.Load(fx.Resolve("stakkofont.bmp").c_str(), 0), 1);
  EXPECT_EQ(font.glyphCount, 128);
  EXPECT_LE(font.charHeight, 25) << "name rows are 25 apart";
  // Digits are printed 12 apart, letters 15.
  std::string letters = ".-";
  for (char c = 'A'; c <= 'Z'; ++c) letters += {c, static_cast<char>(c + 32)};
  for (const auto& [chars, pitch] :
       {std::pair{std::string("0123456789"), 12}, std::pair{letters, 15}})
    for (char ch : chars) {
      const i32 right = std::get<0>(GlyphInk(font.glyphs[static_cast<u8>(ch)]));
      EXPECT_TRUE(right > 0 && right <= pitch) << "'" << ch << "' ends at " << right;
    }
  EXPECT_EQ(0, std::get<0>(GlyphInk(font.glyphs[static_cast<u8>(' ')])));
  // The name cursor, printed 2 pixels lower, underlines the letter.
  EXPECT_GE(std::get<1>(GlyphInk(font.glyphs[static_cast<u8>('_')])),
            std::get<2>(GlyphInk(font.glyphs[static_cast<u8>('A')])) - 2);
  // The runtime's small font is a PNG and has the characters of its own texts.
  const std::string small = fx.Resolve("smalfont.png");
  OwnedRgbaImage asBmp;
  EXPECT_EQ(LoadBmpImage(asBmp.image, small.c_str(), 0), 0) << "it is read by the PNG reader";
  ASSERT_EQ(font.Load(small.c_str(), 0), 1);
  EXPECT_EQ(font.glyphCount, 128);
  for (char ch : std::string("Loading.FramesperSecond:0123456789"))
    EXPECT_GT(std::get<0>(GlyphInk(font.glyphs[static_cast<u8>(ch)])), 0) << "'" << ch << "'";
}

}  // namespace

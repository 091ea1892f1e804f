// The asset generator's pieces where a fault would not show in the finished packs: its pixel
// alphabet, the canvas's BMP rows and colour lift, the lettering's measured sizes, and the sound
// side (note names and melody lines, the synthesiser's loop, 16-bit samples, the MP3 encoder's
// refusals).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "core/byte_order.h"
#include "tests/tools/audio_checks.h"
#include "tools/assetgen/canvas.h"
#include "tools/assetgen/chiptune.h"
#include "tools/assetgen/lettering.h"
#include "tools/assetgen/mp3_export.h"
#include "tools/assetgen/pixel_alphabet.h"
#include "tools/assetgen/wave_file.h"

namespace {

TEST(PixelAlphabet, EveryPrintableCharacterIsWellFormed) {
  for (char c = 32; c < 127; ++c) {
    const PixelGlyph& g = GlyphFor(c);
    SCOPED_TRACE(std::string("'") + c + "'");
    ASSERT_TRUE(g.width > 0 && g.width <= kMaxGlyphWidth);
    bool ink = false;
    for (const std::string_view row : g.rows) {
      ASSERT_EQ(static_cast<i32>(row.size()), g.width);
      EXPECT_EQ(row.find_first_not_of("#."), std::string_view::npos);
      ink = ink || row.find('#') != std::string_view::npos;
    }
    EXPECT_EQ(ink, c != ' ');
  }
  EXPECT_EQ(GlyphFor('\t').width, 0);
  EXPECT_EQ(GlyphFor(static_cast<char>(200)).width, 0);
}

TEST(Canvas, BmpRowsRunBottomUpPaddedWithTheKeyAndTooDarkColoursLifted) {
  Canvas c(3, 2);
  c.Set(0, 0, {10, 20, 30});
  c.Set(2, 1, {1, 1, 1});  // the 16-bit screen would make it the key: lifted just enough
  c.Set(1, 1, {50, 60, 70});
  c.Erase(1, 1);                                                             // back to see-through
  c.Set(-1, 0, {255, 0, 0});                                                 // outside: ignored
  const std::vector<u8> expected = {0,  0,  0,  0, 0, 0, 1, 4, 1, 0, 0, 0,   // bottom row first
                                    30, 20, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};  // B, G, R
  EXPECT_EQ(c.BmpRows(12), expected);
  const std::vector<u8> bgra = c.BgraPixels();
  ASSERT_EQ(bgra.size(), 24u);
  EXPECT_EQ((std::vector<u8>(bgra.begin(), bgra.begin() + 8)),
            (std::vector<u8>{30, 20, 10, 255, 0, 0, 0, 0}));
}

TEST(Lettering, DrawnExtentMatchesTheMeasuredBox) {
  // Text, scale, cap height, outline, shadow; the box.
  const std::tuple<const char*, i32, i32, i32, i32, i32, i32> cases[] = {
      {"SCORE", 2, 12, 1, 0, 50, 14},  // the play labels: squeezed into 14 rows
      {"Ag", 2, 0, 1, 0, 20, 20},      // a descender adds its two rows
      {"PAUSED", 5, 0, 2, 2, 151, 41}};
  for (const auto& [text, scale, capHeight, outline, shadow, width, height] : cases) {
    LetterStyle style;
    style.scale = scale;
    style.capHeight = capHeight;
    style.outlineWidth = outline;
    style.shadowOffset = shadow;
    const TextBox box = LetteringSize(text, style);
    EXPECT_EQ(std::make_pair(box.width, box.height), std::make_pair(width, height)) << text;
    Canvas canvas(box.width + 4, box.height + 4);
    DrawLettering(canvas, text, 0, 0, style);
    i32 right = 0, bottom = 0;
    for (i32 y = 0; y < canvas.height(); ++y)
      for (i32 x = 0; x < canvas.width(); ++x)
        if (canvas.IsOpaque(x, y)) right = std::max(right, x + 1), bottom = std::max(bottom, y + 1);
    EXPECT_EQ(std::make_pair(right, bottom), std::make_pair(box.width, box.height)) << text;
  }
}

TEST(Score, NoteNamesAndMelodyLinesParse) {
  const std::pair<const char*, i32> names[] = {{"A4", 69},  {"G#5", 80}, {"Bb3", 58},
                                               {"C0", 12},  {"B9", 131}, {"H4", -1},
                                               {"A10", -1}, {"", -1},    {"a4", -1}};
  for (const auto& [name, midi] : names) EXPECT_EQ(MidiFromName(name), midi) << name;
  Song song;
  EXPECT_EQ(AppendLine(song, "A4:2 -:1  C5:1", 4.0f, Instrument::kLead, -12, 0.5f), 6.0f);
  ASSERT_EQ(song.notes.size(), 2u);
  EXPECT_EQ(std::make_tuple(4.0f, 57, 5.5f, 60),
            std::make_tuple(song.notes[0].beat, song.notes[0].midi, song.notes[1].beat,
                            song.notes[1].midi));
  EXPECT_LT(song.notes[1].length, 0.5f) << "notes are let go just before the next";
  for (const char* bad : {"A4", "A4:0", "X4:1", "A4:1x", "A4:-2"})
    EXPECT_EQ(AppendLine(song, bad, 0.0f, Instrument::kLead, 0, 1.0f), -1.0f) << bad;
}

TEST(Synth, SoundsRingingPastTheEndWrapToTheStart) {
  Song song;
  song.bpm = 120;
  song.beats = 4;                                                   // two seconds
  song.notes.push_back({3.9f, 0.5f, 45, 1.0f, Instrument::kBass});  // no echo on the bass
  const StereoBuffer out = RenderSong(song);
  ASSERT_EQ(out.left.size(), static_cast<size_t>(2 * kMusicRate));
  f32 head = 0.0f, middle = 0.0f, peak = 0.0f;
  for (size_t i = 0; i < out.left.size(); ++i) {
    const f32 v = std::fabs(out.left[i]);
    if (i < 2000) head = std::max(head, v);
    if (i > 40000 && i < 50000) middle = std::max(middle, v);
    peak = std::max(peak, std::max(v, std::fabs(out.right[i])));
  }
  EXPECT_GT(head, 0.1f) << "the note's end sounds at the top of the loop";
  EXPECT_LT(middle, 0.01f);
  EXPECT_NEAR(peak, 0.9f, 1e-4f);
}

TEST(SoundFiles, SamplesRoundAndClampTo16BitsAndBadBuffersEncodeNothing) {
  const std::pair<f32, i16> samples[] = {
      {1.0f, 32767}, {2.5f, 32767}, {-7.0f, -32767}, {0.5f, 16384}, {-0.5f, -16384}};
  for (const auto& [in, out] : samples) EXPECT_EQ(ToPcm16(in), out) << in;
  std::vector<u8> file = EncodeWav16({0.25f, -0.25f, 1.0f, 0.0f}, 2, 11025);
  const WavInfo info = ReadWav(std::string(file.begin(), file.end()));
  ASSERT_TRUE(info.valid);
  EXPECT_EQ(std::make_tuple(2u, 11025u, 11025u * 4, 4u),
            std::make_tuple(info.channels, info.rate, ReadLE32(file.data() + 28),
                            static_cast<u32>(ReadLE16(file.data() + 32))));
  EXPECT_EQ(info.samples, (std::vector<i16>{8192, -8192, 32767, 0}));
  EXPECT_TRUE(EncodeMp3(StereoBuffer{}).empty());
  EXPECT_TRUE(EncodeMp3(StereoBuffer{{0.0f, 0.0f}, {0.0f}}).empty()) << "channels of two lengths";
}

}  // namespace

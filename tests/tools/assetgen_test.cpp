// The asset generator's pieces: its pixel alphabet, the canvas export and its colour lift, the
// lettering's measured sizes, the bevel and dither, and the sound side (note names and melody
// lines, the synthesiser's loop, WAV and MP3 encoding).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "files/byte_order.h"
#include "tests/tools/audio_checks.h"
#include "tools/assetgen/canvas.h"
#include "tools/assetgen/chiptune.h"
#include "tools/assetgen/landing_sound.h"
#include "tools/assetgen/lettering.h"
#include "tools/assetgen/mp3_export.h"
#include "tools/assetgen/pixel_alphabet.h"
#include "tools/assetgen/shapes.h"
#include "tools/assetgen/wave_file.h"

namespace {

bool HasInk(const PixelGlyph& g, i32 firstRow, i32 endRow) {
  for (i32 y = firstRow; y < endRow; ++y) {
    for (i32 x = 0; x < g.width; ++x) {
      if (g.Lit(x, y)) return true;
    }
  }
  return false;
}

TEST(PixelAlphabet, EveryPrintableCharacterIsWellFormed) {
  for (char c = 32; c < 127; ++c) {
    const PixelGlyph& g = GlyphFor(c);
    SCOPED_TRACE(std::string("'") + c + "'");
    ASSERT_GT(g.width, 0);
    EXPECT_LE(g.width, kMaxGlyphWidth);
    for (const std::string_view row : g.rows) {
      ASSERT_EQ(static_cast<i32>(row.size()), g.width);
      EXPECT_EQ(row.find_first_not_of("#."), std::string_view::npos);
    }
    EXPECT_EQ(HasInk(g, 0, kGlyphRows), c != ' ');
  }
  EXPECT_EQ(GlyphFor('\t').width, 0);
  EXPECT_EQ(GlyphFor(static_cast<char>(200)).width, 0);
}

TEST(PixelAlphabet, CapitalsAndDigitsStayAboveTheBaseline) {
  std::string tall = "0123456789";
  for (char c = 'A'; c <= 'Z'; ++c) tall += c;
  for (char c : tall) {
    EXPECT_TRUE(HasInk(GlyphFor(c), 0, 1)) << c << " reaches the cap line";
    EXPECT_FALSE(HasInk(GlyphFor(c), kCapRows, kGlyphRows)) << c << " has no descender";
  }
  for (char c : std::string("gjpqy")) EXPECT_TRUE(HasInk(GlyphFor(c), kCapRows, kGlyphRows)) << c;
  EXPECT_TRUE(HasInk(GlyphFor('_'), kCapRows, kGlyphRows)) << "the cursor sits under the letters";
}

TEST(PixelAlphabet, TextWidthAddsGlyphsAndGaps) {
  struct Case {
    const char* text;
    i32 gap, width;
  };
  for (const Case& c : {Case{"", 1, 0}, Case{"A", 3, 4}, Case{"AT", 1, 10}, Case{"I I", 2, 13}}) {
    EXPECT_EQ(TextWidth(c.text, c.gap), c.width) << c.text;
  }
}

TEST(CanvasColour, TooDarkColoursAreLiftedJustEnough) {
  struct Case {
    Rgb in;
    bool survives;
  };
  const Case cases[] = {{{0, 0, 0}, false}, {{7, 3, 7}, false},   {{8, 0, 0}, true},
                        {{0, 4, 0}, true},  {{0, 0, 8}, true},    {{7, 0, 2}, false},
                        {{1, 3, 0}, false}, {{200, 10, 40}, true}};
  for (const Case& c : cases) {
    EXPECT_EQ(SurvivesAsOpaque(c.in), c.survives);
    const Rgb out = KeepOpaque(c.in);
    EXPECT_TRUE(SurvivesAsOpaque(out));
    if (c.survives) {
      EXPECT_EQ(out, c.in);
    }
    EXPECT_LE(std::abs(out.r - c.in.r) + std::abs(out.g - c.in.g) + std::abs(out.b - c.in.b), 8);
  }
}

TEST(CanvasExport, BmpRowsRunBottomUpPaddedWithKeyAndLift) {
  Canvas c(3, 2);
  c.Set(0, 0, {10, 20, 30});
  c.Set(2, 1, {1, 1, 1});  // too dark: lifted
  c.Set(1, 1, {50, 60, 70});
  c.Erase(1, 1);  // back to see-through
  const std::vector<u8> rows = c.BmpRows(12);
  const std::vector<u8> expected = {0,  0,  0,  0, 0, 0, 1, 4, 1, 0, 0, 0,   // bottom row first
                                    30, 20, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};  // B, G, R
  EXPECT_EQ(rows, expected);
  const std::vector<u8> bgra = c.BgraPixels();
  ASSERT_EQ(bgra.size(), 24u);
  EXPECT_EQ((std::vector<u8>(bgra.begin(), bgra.begin() + 8)),
            (std::vector<u8>{30, 20, 10, 255, 0, 0, 0, 0}));
  EXPECT_EQ(bgra[23], 255);
}

TEST(CanvasExport, DrawingOutsideIsIgnoredAndBlendOnlyTouchesOpaque) {
  Canvas c(2, 2);
  c.Set(-1, 0, {255, 0, 0});
  c.FillRect(1, 1, 5, 5, {100, 100, 100});
  c.Blend(0, 0, {255, 255, 255}, 1.0f);
  c.Blend(1, 1, {200, 0, 0}, 0.5f);
  EXPECT_FALSE(c.IsOpaque(0, 0));
  EXPECT_FALSE(c.IsOpaque(1, 0));
  EXPECT_EQ(c.Get(1, 1), (Rgb{150, 50, 50}));
  EXPECT_FALSE(c.IsOpaque(5, 5));
}

// The smallest rectangle holding every opaque pixel: {width, height}.
std::pair<i32, i32> OpaqueExtent(const Canvas& c) {
  i32 right = 0, bottom = 0;
  for (i32 y = 0; y < c.height(); ++y) {
    for (i32 x = 0; x < c.width(); ++x) {
      if (c.IsOpaque(x, y)) right = std::max(right, x + 1), bottom = std::max(bottom, y + 1);
    }
  }
  return {right, bottom};
}

TEST(Lettering, DrawnExtentMatchesTheMeasuredBox) {
  struct Case {
    const char* text;
    i32 scale, capHeight, outline, shadow;
    i32 width, height;
  };
  const Case cases[] = {
      {"SCORE", 2, 12, 1, 0, 50, 14},    // the play labels: squeezed into 14 rows
      {"HANDICAP", 2, 0, 1, 0, 78, 16},  // the longest button word, inside 95
      {"Ag", 2, 0, 1, 0, 20, 20},        // a descender adds its two rows
      {"PAUSED", 5, 0, 2, 2, 151, 41},  {"7", 1, 0, 0, 0, 4, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    LetterStyle style;
    style.scale = c.scale;
    style.capHeight = c.capHeight;
    style.outlineWidth = c.outline;
    style.shadowOffset = c.shadow;
    const TextBox box = LetteringSize(c.text, style);
    EXPECT_EQ(box.width, c.width);
    EXPECT_EQ(box.height, c.height);
    Canvas canvas(box.width + 4, box.height + 4);
    DrawLettering(canvas, c.text, 0, 0, style);
    EXPECT_EQ(OpaqueExtent(canvas), std::make_pair(box.width, box.height));
  }
}

TEST(Lettering, SqueezedRowsServeTheStrokeRowsFirst) {
  // Top, bottom and middle bar, then the rows between them.
  constexpr i32 kOrder[kCapRows] = {0, 6, 3, 2, 4, 1, 5};
  for (i32 cap = 7; cap <= 21; ++cap) {
    LetterStyle style;
    style.capHeight = cap;
    const RowHeights h = GlyphRowHeights(style);
    i32 sum = 0;
    for (i32 row = 0; row < kCapRows; ++row) sum += h.rows[row];
    EXPECT_EQ(sum, cap);
    for (i32 k = 1; k < kCapRows; ++k) {
      EXPECT_GE(h.rows[kOrder[k - 1]], h.rows[kOrder[k]]) << cap;
      EXPECT_LE(h.rows[kOrder[0]] - h.rows[kOrder[k]], 1) << cap;
    }
  }
  LetterStyle plain;
  plain.scale = 3;
  for (const i32 rows : GlyphRowHeights(plain).rows) EXPECT_EQ(rows, 3);
}

f32 Luma(Rgb c) { return 0.3f * c.r + 0.59f * c.g + 0.11f * c.b; }

TEST(Shapes, BevelBlocksAreLitFromTheTopLeft) {
  for (const i32 size : {6, 7, 10, 14}) {
    Canvas c(size, size);
    DrawBevelBlock(c, 0, 0, size, {100, 140, 200});
    const i32 mid = size / 2, last = size - 1;
    EXPECT_GT(Luma(c.Get(mid, 0)), Luma(c.Get(mid, mid))) << size;
    EXPECT_GT(Luma(c.Get(0, mid)), Luma(c.Get(mid, mid))) << size;
    EXPECT_LT(Luma(c.Get(mid, last)), Luma(c.Get(mid, mid))) << size;
    EXPECT_LT(Luma(c.Get(last, mid)), Luma(c.Get(mid, mid))) << size;
    EXPECT_EQ(OpaqueExtent(c), std::make_pair(size, size));
  }
}

TEST(Shapes, DitherAveragesToTheColourOnTheSixteenBitScreen) {
  for (const Rgb colour :
       {Rgb{100, 50, 200}, Rgb{3, 1, 250}, Rgb{255, 255, 255}, Rgb{12, 130, 77}}) {
    Canvas c(4, 4);
    c.Fill(colour);
    c.Erase(3, 3);
    DitherFor16Bit(c);
    f32 sum[3] = {};
    for (i32 i = 0; i < 15; ++i) {
      const Rgb p = c.Get(i % 4, i / 4);
      sum[0] += p.r & ~7;  // what the screen keeps of each channel
      sum[1] += p.g & ~3;
      sum[2] += p.b & ~7;
    }
    // The screen's brightest steps are 248 (red, blue) and 252 (green).
    EXPECT_NEAR(sum[0] / 15, std::min<i32>(colour.r, 248), 4.5);
    EXPECT_NEAR(sum[1] / 15, std::min<i32>(colour.g, 252), 2.5);
    EXPECT_NEAR(sum[2] / 15, std::min<i32>(colour.b, 248), 4.5);
    EXPECT_FALSE(c.IsOpaque(3, 3));
  }
}

TEST(Score, NoteNamesGiveMidiNumbers) {
  struct Case {
    const char* name;
    i32 midi;
  };
  const Case cases[] = {{"A4", 69}, {"C4", 60}, {"G#5", 80}, {"Bb3", 58}, {"C0", 12}, {"B9", 131},
                        {"H4", -1}, {"A", -1},  {"A10", -1}, {"C#x", -1}, {"", -1},   {"a4", -1}};
  for (const Case& c : cases) EXPECT_EQ(MidiFromName(c.name), c.midi) << c.name;
}

TEST(Score, MelodyLinesPlaceNotesAndRests) {
  Song song;
  EXPECT_EQ(AppendLine(song, "A4:2 -:1  C5:1", 4.0f, Instrument::kLead, -12, 0.5f), 6.0f);
  ASSERT_EQ(song.notes.size(), 2u);
  EXPECT_EQ(song.notes[0].beat, 4.0f);
  EXPECT_EQ(song.notes[0].midi, 57);
  EXPECT_EQ(song.notes[1].beat, 5.5f);
  EXPECT_EQ(song.notes[1].midi, 72 - 12);
  EXPECT_LT(song.notes[1].length, 0.5f) << "notes are let go just before the next";
  for (const char* bad : {"A4", "A4:0", "X4:1", "A4:1x", "A4:-2"}) {
    EXPECT_EQ(AppendLine(song, bad, 0.0f, Instrument::kLead, 0, 1.0f), -1.0f) << bad;
  }
}

TEST(Score, TheSongLoopsForHalfAMinuteToAMinute) {
  const Song song = ComposeSong();
  const f32 seconds = song.beats * 60.0f / song.bpm;
  EXPECT_GE(seconds, 30.0f);
  EXPECT_LE(seconds, 60.0f);
  EXPECT_EQ(song.beats % 4, 0);
  for (const Note& n : song.notes) {
    EXPECT_GE(n.beat, 0.0f);
    EXPECT_LE(n.beat + n.length, static_cast<f32>(song.beats) + 0.01f);
    if (n.instrument == Instrument::kBass) {
      EXPECT_TRUE(n.midi >= 28 && n.midi <= 64) << n.midi;
    } else if (n.instrument == Instrument::kLead) {
      EXPECT_TRUE(n.midi >= 55 && n.midi <= 96) << n.midi;
    }
  }
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

TEST(WaveFile, SamplesRoundAndClampTo16Bits) {
  struct Case {
    f32 in;
    i16 out;
  };
  for (const Case& c : {Case{0.0f, 0}, Case{1.0f, 32767}, Case{-1.0f, -32767}, Case{2.5f, 32767},
                        Case{-7.0f, -32767}, Case{0.5f, 16384}, Case{-0.5f, -16384}}) {
    EXPECT_EQ(ToPcm16(c.in), c.out) << c.in;
  }
  std::vector<u8> file = EncodeWav16({0.25f, -0.25f, 1.0f, 0.0f}, 2, 11025);
  const WavInfo info = ReadWav(std::string(file.begin(), file.end()));
  ASSERT_TRUE(info.valid);
  EXPECT_EQ(info.channels, 2u);
  EXPECT_EQ(info.rate, 11025u);
  EXPECT_EQ(ReadLE32(file.data() + 28), 11025u * 4) << "bytes a second";
  EXPECT_EQ(ReadLE16(file.data() + 32), 4u) << "bytes a frame";
  EXPECT_EQ(info.samples, (std::vector<i16>{8192, -8192, 32767, 0}));
}

TEST(LandingSound, ShortPunchyAndSilentAtTheEnd) {
  const std::vector<f32> s = SynthesiseLandingSound();
  EXPECT_EQ(s.size(), static_cast<size_t>(kLandingRate * kLandingSeconds));
  f32 early = 0.0f, late = 0.0f;
  for (size_t i = 0; i < s.size(); ++i) {
    (i < s.size() / 4 ? early : late) = std::max(i < s.size() / 4 ? early : late, std::fabs(s[i]));
  }
  EXPECT_NEAR(early, 0.8f, 1e-4f) << "the hit comes first";
  EXPECT_LT(late, 0.4f);
  EXPECT_LT(std::fabs(s.back()), 0.005f);
}

TEST(Mp3Export, EncodesWholeFramesAndRefusesBadBuffers) {
  StereoBuffer tone;
  for (i32 i = 0; i < kMusicRate; ++i) {
    tone.left.push_back(0.5f * std::sin(i * 0.0627f));
    tone.right.push_back(0.5f * std::sin(i * 0.0313f));
  }
  const Mp3Info info = ReadMp3Frames(EncodeMp3(tone));
  ASSERT_TRUE(info.valid);
  EXPECT_EQ(info.rate, static_cast<u32>(kMusicRate));
  EXPECT_NEAR(info.seconds, 1.0, 0.1);
  EXPECT_TRUE(EncodeMp3(StereoBuffer{}).empty());
  tone.right.pop_back();
  EXPECT_TRUE(EncodeMp3(tone).empty()) << "channels of different lengths";
}

}  // namespace

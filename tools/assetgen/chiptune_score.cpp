// The composition: "Never One", an original piece in A minor at 144 beats a minute, 26 bars that
// loop: two bars of groove, a first theme over Am-F-C-G, a brighter second theme, and the first
// theme again with a harmony line and a climb at its climax. The last bar sits on E so that the
// loop falls back onto A naturally.
#include <array>
#include <charconv>
#include <string>

#include "tools/assetgen/chiptune.h"

namespace {

constexpr i32 kBeatsPerBar = 4;
constexpr f32 kEighth = 0.5f;

struct Chord {
  i32 pitchClass;  // 0 = C
  bool minor;
};

constexpr Chord kAm{9, true}, kF{5, false}, kC{0, false}, kG{7, false}, kE{4, false}, kEm{4, true},
    kDm{2, true};

// Bars of the three sections: chord and melody line (lengths in eighths, eight to a bar).
struct Bar {
  Chord chord;
  const char* melody;
};

constexpr std::array<Bar, 8> kThemeA = {{
    {kAm, "A5:2 E5:1 A5:1 C6:2 B5:1 A5:1"},
    {kF, "C6:3 A5:1 F5:2 A5:2"},
    {kC, "G5:2 E5:1 G5:1 C6:2 D6:1 C6:1"},
    {kG, "B5:3 A5:1 G5:2 -:2"},
    {kAm, "A5:2 E5:1 A5:1 C6:2 E6:2"},
    {kF, "F6:2 E6:1 D6:1 C6:2 A5:2"},
    {kG, "B5:2 D6:2 G5:2 B5:2"},
    {kE, "G#5:2 B5:2 E6:2 -:2"},
}};

constexpr std::array<Bar, 8> kThemeB = {{
    {kF, "A5:1 C6:1 F6:2 E6:2 C6:2"},
    {kG, "D6:1 B5:1 G5:2 B5:2 D6:2"},
    {kEm, "E6:3 D6:1 B5:2 G5:2"},
    {kAm, "C6:1 B5:1 A5:2 E5:2 A5:2"},
    {kDm, "F5:2 A5:2 D6:3 C6:1"},
    {kG, "B5:2 D6:2 G6:2 F6:1 D6:1"},
    {kC, "E6:3 D6:1 C6:2 G5:2"},
    {kE, "G#5:2 B5:2 D6:2 E6:2"},
}};

// The return of the first theme climbs higher in its fifth and sixth bars.
constexpr const char* kClimbBar5 = "A5:2 E5:1 A5:1 C6:2 E6:1 G6:1";
constexpr const char* kClimbBar6 = "A6:2 G6:1 F6:1 E6:2 C6:2";

// The melody is written an octave above where the lead plays it.
constexpr i32 kLeadTranspose = -12;

// Chord tones for the arpeggio around A3, and the bass root between E2 and D#3.
i32 ArpeggioRoot(const Chord& c) { return 50 + (c.pitchClass - 2 + 12) % 12; }
i32 BassRoot(const Chord& c) { return 40 + (c.pitchClass - 4 + 12) % 12; }

// The A minor scale with its raised seventh folded onto the plain one, for the harmony line.
constexpr i32 kScale[7] = {9, 11, 0, 2, 4, 5, 7};

// The note two scale steps below midi (a diatonic third under the melody).
i32 ThirdBelow(i32 midi) {
  const i32 pc = midi % 12 == 8 ? 7 : midi % 12;  // G# sings as G here
  i32 degree = 0;
  for (i32 k = 0; k < 7; ++k) {
    if (kScale[k] == pc) degree = k;
  }
  const i32 target = kScale[(degree + 5) % 7];
  i32 below = midi - ((midi % 12 - target + 12) % 12);
  if (below == midi) below -= 12;
  return below;
}

void Add(Song& song, Instrument instrument, f32 beat, f32 length, i32 midi, f32 velocity) {
  song.notes.push_back({beat, length, midi, velocity, instrument});
}

void Arpeggio(Song& song, f32 barBeat, const Chord& chord, f32 velocity) {
  const i32 root = ArpeggioRoot(chord);
  const i32 tones[4] = {root, root + (chord.minor ? 3 : 4), root + 7, root + 12};
  constexpr i32 kOrder[8] = {0, 1, 2, 3, 2, 1, 2, 3};
  for (i32 k = 0; k < 16; ++k) {
    Add(song, Instrument::kArpeggio, barBeat + k * 0.25f, 0.2f, tones[kOrder[k % 8]],
        velocity * (k % 4 == 0 ? 1.0f : 0.75f));
  }
}

// Octave-jumping eighths; the second theme adds the fifth for more drive.
void Bass(Song& song, f32 barBeat, const Chord& chord, bool withFifth) {
  const i32 root = BassRoot(chord);
  for (i32 k = 0; k < 8; ++k) {
    i32 note = k % 2 == 0 ? root : root + 12;
    if (withFifth && k % 4 == 2) note = root + 7;
    Add(song, Instrument::kBass, barBeat + k * kEighth, 0.42f, note, k % 2 == 0 ? 1.0f : 0.8f);
  }
}

enum class Groove { kIntro, kMain, kDriving };

void Drums(Song& song, f32 barBeat, Groove groove, bool fill, bool openHat) {
  const bool intro = groove == Groove::kIntro;
  for (i32 beat = 0; beat < kBeatsPerBar; ++beat) {
    if (intro || beat % 2 == 0) Add(song, Instrument::kKick, barBeat + beat, 0.3f, 0, 1.0f);
    if (!intro && beat % 2 == 1 && !(fill && beat == 3)) {
      Add(song, Instrument::kSnare, barBeat + beat, 0.2f, 0, 1.0f);
    }
  }
  if (groove == Groove::kDriving) Add(song, Instrument::kKick, barBeat + 1.5f, 0.3f, 0, 0.8f);
  if (!intro) Add(song, Instrument::kKick, barBeat + 2.5f, 0.3f, 0, 0.7f);
  for (i32 k = 0; k < 8; ++k) {
    const bool open = openHat && k == 7;
    Add(song, open ? Instrument::kOpenHat : Instrument::kHat, barBeat + k * kEighth, 0.1f, 0,
        k % 2 == 0 ? 0.9f : 0.55f);
  }
  if (fill) {
    for (i32 k = 0; k < 4; ++k) {
      Add(song, Instrument::kSnare, barBeat + 3.0f + k * 0.25f, 0.2f, 0, 0.55f + 0.15f * k);
    }
  }
}

void Section(Song& song, i32 firstBar, const std::array<Bar, 8>& bars, Groove groove, bool harmony,
             bool climb) {
  for (i32 k = 0; k < 8; ++k) {
    const f32 barBeat = static_cast<f32>((firstBar + k) * kBeatsPerBar);
    const Bar& bar = bars[static_cast<size_t>(k)];
    const char* melody = bar.melody;
    if (climb && k == 4) melody = kClimbBar5;
    if (climb && k == 5) melody = kClimbBar6;
    AppendLine(song, melody, barBeat, Instrument::kLead, kLeadTranspose, 1.0f);
    if (harmony) {
      const size_t before = song.notes.size();
      AppendLine(song, melody, barBeat, Instrument::kHarmony, kLeadTranspose, 0.8f);
      for (size_t n = before; n < song.notes.size(); ++n) {
        song.notes[n].midi = ThirdBelow(song.notes[n].midi);
      }
    }
    Arpeggio(song, barBeat, bar.chord, harmony ? 0.8f : 1.0f);
    Bass(song, barBeat, bar.chord, groove == Groove::kDriving);
    Drums(song, barBeat, groove, k == 7, k % 4 == 3);
  }
}

}  // namespace

i32 MidiFromName(std::string_view name) {
  if (name.size() < 2) return -1;
  constexpr i32 kLetters[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (name[0] < 'A' || name[0] > 'G') return -1;
  i32 pc = kLetters[name[0] - 'A'];
  size_t at = 1;
  if (name[at] == '#')
    pc += 1, ++at;
  else if (name[at] == 'b')
    pc -= 1, ++at;
  i32 octave = 0;
  const auto [end, err] = std::from_chars(name.data() + at, name.data() + name.size(), octave);
  if (err != std::errc() || end != name.data() + name.size() || octave < 0 || octave > 9) return -1;
  return 12 * (octave + 1) + pc;
}

f32 AppendLine(Song& song, std::string_view line, f32 beat, Instrument instrument, i32 transpose,
               f32 velocity) {
  while (!line.empty()) {
    const size_t space = line.find(' ');
    const std::string_view token = line.substr(0, space);
    line = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
    if (token.empty()) continue;
    const size_t colon = token.find(':');
    if (colon == std::string_view::npos) return -1;
    i32 eighths = 0;
    const std::string_view count = token.substr(colon + 1);
    const auto [end, err] = std::from_chars(count.data(), count.data() + count.size(), eighths);
    if (err != std::errc() || end != count.data() + count.size() || eighths <= 0) return -1;
    const std::string_view pitch = token.substr(0, colon);
    const f32 length = eighths * kEighth;
    if (pitch != "-") {
      const i32 midi = MidiFromName(pitch);
      if (midi < 0) return -1;
      Add(song, instrument, beat, length * 0.92f, midi + transpose, velocity);
    }
    beat += length;
  }
  return beat;
}

Song ComposeSong() {
  Song song;
  song.bpm = 144;
  constexpr i32 kIntroBars = 2;
  song.beats = (kIntroBars + 3 * 8) * kBeatsPerBar;
  for (i32 bar = 0; bar < kIntroBars; ++bar) {
    const f32 barBeat = static_cast<f32>(bar * kBeatsPerBar);
    Bass(song, barBeat, kAm, false);
    Drums(song, barBeat, bar == 0 ? Groove::kIntro : Groove::kMain, bar == 1, false);
    if (bar == 1) Arpeggio(song, barBeat, kAm, 0.9f);
  }
  Section(song, kIntroBars, kThemeA, Groove::kMain, false, false);
  Section(song, kIntroBars + 8, kThemeB, Groove::kDriving, false, false);
  Section(song, kIntroBars + 16, kThemeA, Groove::kMain, true, true);
  return song;
}

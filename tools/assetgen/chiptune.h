// The game's music: a looping chiptune composed in code (chiptune_score.cpp) and played by a
// small synthesiser of pulse, triangle and noise voices (chiptune_synth.cpp).
#pragma once

#include <string_view>
#include <vector>

#include "core/types.h"

enum class Instrument { kLead, kHarmony, kArpeggio, kBass, kKick, kSnare, kHat, kOpenHat };

struct Note {
  f32 beat = 0;         // start, in beats from the top of the song
  f32 length = 0;       // in beats
  i32 midi = 0;         // pitch (69 = A 440 Hz); unused by the drums
  f32 velocity = 1.0f;  // 0..1
  Instrument instrument = Instrument::kLead;
};

struct Song {
  f32 bpm = 120;
  i32 beats = 0;  // the loop's length; notes that ring past it wrap to its start
  std::vector<Note> notes;
};

// The MIDI number of a note name such as "A4", "G#5" or "Bb3"; -1 when it is not one.
i32 MidiFromName(std::string_view name);

// Appends a melody line written as space-separated "NAME:EIGHTHS" tokens ("-" for a rest), from
// `beat` on; returns the beat after its last note, or -1 when a token does not parse.
f32 AppendLine(Song& song, std::string_view line, f32 beat, Instrument instrument, i32 transpose,
               f32 velocity);

// The composition.
Song ComposeSong();

constexpr i32 kMusicRate = 44100;

struct StereoBuffer {
  std::vector<f32> left;
  std::vector<f32> right;
};

// Renders one pass of the loop: beats * 60 / bpm seconds at kMusicRate, peak at 0.9.
StereoBuffer RenderSong(const Song& song);

// A stand-in for the runtime commands of game/runtime_calls.h: it records drawing, text, sound,
// volume and frame-step calls and answers the key query from a scripted set of held keys.
#pragma once

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/types.h"

using Sprite = std::tuple<i32, i32, i32>;             // sprite, x, y
using Text = std::tuple<std::string, f32, f32, i32>;  // text, x, y, current font
using Sound = std::tuple<i32, f32, f32>;              // slot, pan, volume

struct RuntimeDouble {
  std::set<i32> held;
  std::map<i32, i32> keyReads;  // per code
  std::vector<Sprite> sprites;
  std::vector<Text> texts;
  std::vector<Sound> sounds;
  std::vector<f32> musicVolumes;
  i32 font = 0;
  i32 flips = 0;
};

extern RuntimeDouble runtime;  // reset by the game fixture

// The game's two files over hostile bytes: "Config.dat" and "Hiscores.dat", laid in the working
// folder where the game looks for them. Whatever they hold, reading them must not end the
// program; a damaged file leaves the game's values as they were and is written anew from them,
// a good one is taken and left alone; what the game then writes reads back the same.
#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "core/byte_order.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_target.h"
#include "game/config_file.h"
#include "game/game_globals.h"
#include "game/hiscore_file.h"
#include "game/hiscore_table.h"

namespace {

constexpr i32 kEntries = 5;  // as the game reads and writes them

std::string Bytes(const u8* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

std::string VolumeFile(f32 volume) {
  u8 bytes[4];
  WriteLE32(bytes, F32ToBits(volume));
  return Bytes(bytes, 4);
}

using Entry = std::tuple<i32, std::string, i32>;  // score, name, level

// The list in score order; entries of equal score in a fixed order of their own, since the
// game's sort does not define theirs.
std::vector<Entry> List() {
  std::vector<Entry> list;
  for (i32 i = 0; i < game::hiscores.dim[0]; ++i) {
    const game::HiscoreEntry& e = game::hiscores.At(i);
    list.emplace_back(e.score, std::string(e.name.CStr(), e.name.Length()), e.level);
  }
  return list;
}

bool InScoreOrder(const std::vector<Entry>& list) {
  return std::is_sorted(list.begin(), list.end(), [](const Entry& a, const Entry& b) {
    return std::get<0>(a) < std::get<0>(b);
  });
}

std::vector<Entry> Sorted(std::vector<Entry> list) {
  std::sort(list.begin(), list.end());
  return list;
}

}  // namespace

void FuzzGameConfig(const u8* data, std::size_t size) {
  BeginFuzzInput();
  const InFuzzFolder here;
  const std::string path = WriteFuzzFile("Config.dat", data, size);
  constexpr f32 kBefore = 0.55f;
  game::musicVolume = kBefore;
  FUZZ_CHECK(!CatchProgramEnd([] { game::LoadConfig(); }), "reading Config.dat ended the game");

  const f32 stored = size >= 4 ? BitsToF32(ReadLE32(data)) : 0.0f;
  const std::string file = ReadWholeFile(path).value_or("");
  if (size >= 4 && std::isfinite(stored)) {
    FUZZ_CHECK(F32ToBits(game::musicVolume) == F32ToBits(stored), "the volume was not taken");
    FUZZ_CHECK(file == Bytes(data, size), "a good Config.dat was rewritten");
  } else {
    const f32 expected = size >= 4 ? game::kDefaultMusicVolume : kBefore;
    FUZZ_CHECK(F32ToBits(game::musicVolume) == F32ToBits(expected), "damaged volume taken");
    FUZZ_CHECK(file == VolumeFile(expected), "a damaged Config.dat was not written anew");
  }

  const f32 taken = game::musicVolume;
  FUZZ_CHECK(!CatchProgramEnd([] {
    game::SaveConfig();
    game::LoadConfig();
  }),
             "a written Config.dat ended the game");
  FUZZ_CHECK(F32ToBits(game::musicVolume) == F32ToBits(taken), "the volume did not round trip");
}

void FuzzGameHiscores(const u8* data, std::size_t size) {
  BeginFuzzInput();
  const InFuzzFolder here;
  const std::string path = WriteFuzzFile("Hiscores.dat", data, size);
  game::InitGameGlobals();
  game::LoadDefaultHiscores();
  const std::vector<Entry> before = List();
  FUZZ_CHECK(!CatchProgramEnd([] { game::LoadHiscores(kEntries); }),
             "reading Hiscores.dat ended the game");

  const std::vector<Entry> loaded = List();
  FUZZ_CHECK(loaded.size() == before.size() && InScoreOrder(loaded), "the list is out of order");
  const std::string file = ReadWholeFile(path).value_or("");
  if (file != Bytes(data, size)) {
    // Damaged: the list stays and the file is written from it.
    FUZZ_CHECK(loaded == before, "a damaged Hiscores.dat changed the list");
    game::SaveHiscores(kEntries);
    FUZZ_CHECK(file == ReadWholeFile(path).value_or(""), "a damaged file was not written anew");
  }

  // What the game writes, the game reads back when it starts again from its defaults.
  FUZZ_CHECK(!CatchProgramEnd([] {
    game::SaveHiscores(kEntries);
    game::InitGameGlobals();
    game::LoadDefaultHiscores();
    game::LoadHiscores(kEntries);
  }),
             "a written Hiscores.dat ended the game");
  FUZZ_CHECK(Sorted(List()) == Sorted(loaded), "the list did not survive its file");
  game::InitGameGlobals();
}

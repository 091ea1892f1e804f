// Reading and writing "Config.dat" over channel 0.
#include "game/config_file.h"

#include <cmath>
#include <optional>
#include <string>

#include "core/byte_order.h"
#include "files/channel_table.h"
#include "game/channel_bytes.h"
#include "game/game_globals.h"

namespace game {

namespace {

constexpr u32 kChannel = 0;
constexpr i32 kRead = 1;
constexpr i32 kWrite = 0;

DynString ConfigFileName() { return DynString::FromCString("Config.dat"); }

}  // namespace

void LoadConfig() {
  if (OpenFileChannel(kChannel, ConfigFileName(), kRead) != 1) return;
  const std::optional<std::string> bytes = ReadChannelBytes(kChannel, kConfigBytes);
  CloseChannel(kChannel);
  if (!bytes || static_cast<i32>(bytes->size()) < kConfigBytes) {
    SaveConfig();
    return;
  }
  const f32 volume = BitsToF32(ReadLE32(reinterpret_cast<const u8*>(bytes->data())));
  if (!std::isfinite(volume)) {
    musicVolume = kDefaultMusicVolume;
    SaveConfig();
    return;
  }
  musicVolume = volume;
}

void SaveConfig() {
  // The channel layer has already said why when the file cannot be created.
  if (OpenFileChannel(kChannel, ConfigFileName(), kWrite) != 1) return;
  WriteChannelFloat32(kChannel, musicVolume);
  CloseChannel(kChannel);
}

}  // namespace game

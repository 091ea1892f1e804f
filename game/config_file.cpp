// Reading and writing "Config.dat" over channel 0.
#include "game/config_file.h"

#include <cmath>
#include <optional>
#include <string>

#include "core/byte_order.h"
#include "files/channel_table.h"
#include "game/channel_bytes.h"
#include "game/damaged_file.h"
#include "game/game_globals.h"

namespace game {

namespace {

constexpr const char* kConfigFile = "Config.dat";

DynString ConfigFileName() { return DynString::FromCString(kConfigFile); }

}  // namespace

void LoadConfig() {
  if (OpenFileChannel(kGameFileChannel, ConfigFileName(), kChannelRead) != 1) return;
  const std::optional<std::string> bytes = ReadChannelBytes(kGameFileChannel, kConfigBytes);
  CloseChannel(kGameFileChannel);
  if (!bytes || static_cast<i32>(bytes->size()) < kConfigBytes) {
    KeepDamagedFile(kConfigFile);
    SaveConfig();
    return;
  }
  const f32 volume = BitsToF32(ReadLE32(reinterpret_cast<const u8*>(bytes->data())));
  if (!std::isfinite(volume)) {
    KeepDamagedFile(kConfigFile);
    musicVolume = kDefaultMusicVolume;
    SaveConfig();
    return;
  }
  musicVolume = volume;
}

void SaveConfig() {
  // The channel layer has already said why when the file cannot be created.
  if (OpenFileChannel(kGameFileChannel, ConfigFileName(), kChannelWrite) != 1) return;
  WriteChannelFloat32(kGameFileChannel, musicVolume);
  CloseChannel(kGameFileChannel);
}

}  // namespace game

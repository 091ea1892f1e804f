// Releasing the runtime's objects at the end of program.
#include <SDL.h>

#include "core/runtime_globals.h"
#include "runtime/runtime_startup.h"
#include "files/channel_table.h"
#include "files/file_resolver.h"
#include "media/graphics_device.h"
#include "media/input_device.h"
#include "media/music.h"
#include "media/sound.h"
#include "net/net_session.h"

namespace {

void ReleaseSoundSlots() {
  if (soundSlots == nullptr) return;
  for (i32 i = kSoundSlotCount - 1; i >= 0; --i) soundSlots[i].Free();
  delete[] soundSlots;
  soundSlots = nullptr;
}

}  // namespace

void ReleaseRuntimeObjects() {
  CloseAllChannels();
  StopMusic();
  delete graphicsDevice;
  graphicsDevice = nullptr;
  if (inputDevice != nullptr) {
    inputDevice->Close();
    delete inputDevice;
    inputDevice = nullptr;
  }
  ReleaseSoundSlots();
  if (audioDevice != nullptr) {
    audioDevice->Close();
    delete audioDevice;
    audioDevice = nullptr;
  }
  NetShutdownSession();
  if (musicResolver != nullptr) DeleteFileResolverContext(musicResolver);
  if (generalResolver != nullptr) DeleteFileResolverContext(generalResolver);
}

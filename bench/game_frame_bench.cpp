// The cost of one frame of the game's play state: full passes of the main loop (frame step,
// clock, timers, the play body with its keys, blocks, particles, row clearing and gravity, and
// the overlay) over the generated packs, with a player holding Down and steering every piece to
// one side or the other. The clock is virtual, so pacing never waits and what is measured is the
// CPU time of the pass; a game that ends is started again at once.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "core/runtime_globals.h"
#include "runtime/runtime_startup.h"
#include "files/file_resolver.h"
#include "game/game_globals.h"
#include "game/game_main.h"
#include "game/new_game.h"
#include "media/button_decoder.h"
#include "media/button_sources.h"
#include "media/graphics_device.h"
#include "media/input_device.h"
#include "media/sound.h"
#include "platform/platform_ops.h"

namespace {

constexpr i32 kFrames = 3000;

// A millisecond clock that moves one step per read and by whatever is slept.
u32 virtualMs = 1000;
u64 pendingNs = 0;
u32 VirtualTicks() { return virtualMs++; }
void VirtualSleep(u64 seconds, u64 nanoseconds) {
  pendingNs += seconds * 1000000000u + nanoseconds;
  virtualMs += static_cast<u32>(pendingNs / 1000000u);
  pendingNs %= 1000000u;
}

// The runtime as start-up brings it up, headless, in a scratch folder holding links to the packs.
class HeadlessGame {
 public:
  HeadlessGame() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Platform().ticksMs = VirtualTicks;
    Platform().sleepNs = VirtualSleep;
    char folder[] = "/tmp/stakko-bench-XXXXXX";
    folder_ = mkdtemp(folder) != nullptr ? folder : "";
    for (const char* pack : {"fxdata.sbx", "streamdata.sbx"})
      std::filesystem::create_symlink(std::string(STAKKO_GAME_DIR) + "/" + pack,
                                      folder_ + "/" + pack);
    Platform().tempFolder = folder_ + "/";
    savedCwd_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_);

    graphicsDevice = new OpenGLRainbows();
    graphicsDevice->InitVideo(0, 320, 240, 0, 30, 0);
    inputDevice = new InputDevice();
    auto source = std::make_unique<ScriptedButtonSource>(std::vector<u32>{0});
    buttons = source.get();
    inputDevice->SetButtonSource(std::move(source));
    inputDevice->Open(false);
    audioDevice = new AudioDevice();
    audioDevice->Open();
    soundSlots = new SoundSlot[kSoundSlotCount];
    musicResolver = CreateFileResolverContext();
    generalResolver = CreateFileResolverContext();
    game::GameSetup();
  }
  ~HeadlessGame() {
    ReleaseRuntimeObjects();
    std::filesystem::current_path(savedCwd_);
    std::filesystem::remove_all(folder_);
    Platform().tempFolder.clear();
    SDL_Quit();
  }

  ScriptedButtonSource* buttons = nullptr;

 private:
  std::string folder_;
  std::filesystem::path savedCwd_;
};

void BM_PlayStateFrame(benchmark::State& state) {
  HeadlessGame game;
  game::handicap = 4;
  game::GamePass();
  game::StartNewGame();
  i32 frame = 0, pieces = 0, lastRow = game::pieceRow;
  for (auto _ : state) {
    if (game::pieceRow < lastRow) ++pieces;
    lastRow = game::pieceRow;
    const u32 side = pieces % 2 == 0 ? kButtonLeft : kButtonRight;
    game.buttons->words = {kButtonDown | (frame++ % 2 == 0 ? side : 0u)};
    game::GamePass();
    if (game::gameOver == 1) {
      game::gameOver = 0;
      game::StartNewGame();
    }
  }
  state.counters["lines"] = game::lines;
}
BENCHMARK(BM_PlayStateFrame)->Iterations(kFrames)->Unit(benchmark::kMicrosecond);

}  // namespace

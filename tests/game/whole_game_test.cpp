// Whole runs of the program in a child process over a temporary copy of the game folder (the
// built program with the runtime's font appended, and its two packs): the runtime
// starts as the program starts it, a player presses buttons frame by frame from what the game
// shows, and the program ends as it ends, with its exit status and its files left behind. The
// shell commands and the launcher are stand-ins, and the clock is virtual.
#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <filesystem>
#include <memory>
#include <sstream>

#include "core/byte_order.h"
#include "core/random.h"
#include "core/runtime_globals.h"
#include "files/file_resolver.h"
#include "game/start_up.h"
#include "media/input_device.h"
#include "media/music.h"
#include "platform/platform_ops.h"
#include "tests/game/game_fixture.h"

namespace {

std::string programPath;  // the copy the child runs as

long ReadProgramLink(char* buffer, std::size_t size) {
  if (programPath.size() > size) return -1;
  std::memcpy(buffer, programPath.data(), programPath.size());
  return static_cast<long>(programPath.size());
}

// Buttons chosen at each frame step from the game's state: a queue of taps (each one frame held
// and one released), refilled by the scenario when it runs dry.
class Player : public ScriptedButtonSource {
 public:
  void NextFrame() override {
    ScriptedButtonSource::NextFrame();
    if (pending_.empty()) Decide();
    words = {pending_.empty() ? held_ : pending_.front()};
    if (!pending_.empty()) pending_.pop_front();
  }

 protected:
  virtual void Decide() = 0;
  void Tap(u32 buttons) {
    pending_.push_back(buttons);
    pending_.push_back(0);
  }
  u32 held_ = 0;

 private:
  std::deque<u32> pending_;
};

// Through the splash to a game, its pieces spread and dropped to game over, a name entered ("CA"),
// the table, and out through the exit button.
class WholeGamePlayer : public Player {
  void Decide() override {
    held_ = 0;
    if (gameState == kStatePlay) {
      played_ = true;
      if (gameOver == 0) {
        SpreadPieces();
        held_ = kButtonDown;
      } else {
        Tap(kActionButton);
      }
    } else if (gameState == kStateNameEntry) {
      for (u32 b :
           std::initializer_list<u32>{kButtonUp, kButtonUp, kButtonRight, kButtonUp, kActionButton})
        Tap(b);
    } else if (gameState == kStateTitle && played_ && selectedButton != 3) {
      Tap(kButtonUp);
    } else {
      Tap(kActionButton);  // leaves the splash, starts the game, leaves the table, exits
    }
  }
  // Each new piece goes two columns further along -4, -2, 0, 2, 4 from where it enters.
  void SpreadPieces() {
    if (pieceRow < lastRow_) {
      const i32 shift = pieces_++ % 5 * 2 - 4;
      for (i32 i = 0; i < (shift < 0 ? -shift : shift); ++i)
        Tap(shift < 0 ? kButtonLeft : kButtonRight);
    }
    lastRow_ = pieceRow;
  }
  bool played_ = false;
  i32 pieces_ = 0;
  i32 lastRow_ = kFieldRows;
};

// Through the splash, then Escape on the title.
class EscapePlayer : public Player {
  void Decide() override {
    if (StoredMusicVolume() < 0.0f) return Tap(kActionButton);
    SDL_Event escape{};
    escape.type = SDL_KEYDOWN;
    escape.key.keysym.sym = SDLK_ESCAPE;
    SDL_PushEvent(&escape);
  }
};

// The child: starts the program's way, hands the buttons to the player, runs the game.
template <class PlayerKind>
void RunProgram() {
  InitGameGlobals();  // as a fresh process has them
  ScopedFakeClock clock(1000, 1);
  PlatformOps& ops = Platform();
  ops.runShell = [](const char*) { return 0; };
  ops.execProgram = [](const char*, const char*) { return -1; };
  ops.readExeLink = ReadProgramLink;
  ops.gpioPath = programPath + "-no-button-device";
  unsetenv("STAKKO_BUTTONS");
  const char* argv[] = {programPath.c_str()};
  StoreStartUpSettings(JoinCommandLine(1, argv));
  StartRuntime();
  // The runtime's font came from the pack appended to the program.
  char resolved[kResolvedPathSize];
  if (ResolveFile(generalResolver, "smalfont.png", resolved, true) != 1 ||
      std::strncmp(resolved, "mem://", 6) != 0)
    _exit(3);
  inputDevice->SetButtonSource(std::make_unique<PlayerKind>());
  SeedRandom(2009);
  GameMain();
}

// Lines a run may print: the runtime's own.
bool RuntimeLinesOnly(const std::string& output) {
  const std::vector<std::string> known = {
      "Init GFX",      "Set Vidmode", "Screen BPP: 16", "",
      "FBO",           "Viewport",    "GFX seem OK",    "Init Network",
      "Init Input",    "Init Sound",  "Init Window",    "GPIO device not presentGPIO READ ERROR",
      "Init Finalized"};
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with("request: ") &&
        std::find(known.begin(), known.end(), line) == known.end())
      return false;
  }
  return true;
}

class WholeGameRun : public testing::Test {
 protected:
  void SetUp() override {
    SDL_Quit();  // the child starts SDL afresh
    for (const char* file : {"stakko", "fxdata.sbx", "streamdata.sbx"})
      std::filesystem::copy_file(kGameDir + "/" + file, dir_.File(file));
    programPath = dir_.File("stakko");
  }
  ScopedTempDir dir_;
};

TEST_F(WholeGameRun, PlayedToGameOverWithANameEnteredAndLeftByTheExitButton) {
  const ChildResult run = RunInChild(RunProgram<WholeGamePlayer>);
  EXPECT_EQ(0, run.exitStatus);
  EXPECT_TRUE(RuntimeLinesOnly(run.output)) << run.output;
  EXPECT_EQ(std::string("\x9a\x99\x99\x3e", 4), ReadFileBytes(dir_.File("Config.dat")));
  // The entered name took the lowest entry's place, with the score and level it was played to.
  const std::string table = ReadFileBytes(dir_.File("Hiscores.dat"));
  const std::size_t at = table.find("CA      \r\n");
  ASSERT_TRUE(at >= 4 && at != std::string::npos) << table;
  const u8* bytes = reinterpret_cast<const u8*>(table.data());
  EXPECT_GE(static_cast<i32>(ReadLE32(bytes + at - 4)), 80);
  EXPECT_EQ(1u, ReadLE16(bytes + at + 10));
  EXPECT_EQ(std::string::npos, table.find("Tullo"));
  EXPECT_EQ(68u, table.size());
}

TEST_F(WholeGameRun, EscapeOnTheTitleEndsWithStatusZeroAndSavesNothing) {
  const ChildResult run = RunInChild(RunProgram<EscapePlayer>);
  EXPECT_EQ(0, run.exitStatus) << run.output;
  EXPECT_TRUE(RuntimeLinesOnly(run.output)) << run.output;
  EXPECT_FALSE(std::filesystem::exists(dir_.File("Config.dat")));
  EXPECT_EQ(65u, ReadFileBytes(dir_.File("Hiscores.dat")).size());
}

}  // namespace

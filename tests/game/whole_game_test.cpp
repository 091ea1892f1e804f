// Whole runs of the program in a child process over a temporary copy of the game folder (the
// built program with the runtime's font appended, and its two packs): the runtime starts as the
// program starts it, a player presses buttons frame by frame from what the game shows, and the
// program ends as it ends, with its exit status and its files left behind. The shell commands and
// the launcher are stand-ins, and the clock is virtual. The whole game saves a picture of every
// screen into the build folder (the README shows copies of them).
#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>

#include "core/byte_order.h"
#include "core/random.h"
#include "core/runtime_globals.h"
#include "files/file_resolver.h"
#include "game/name_entry.h"
#include "game/start_up.h"
#include "media/graphics_commands.h"
#include "media/graphics_device.h"
#include "media/input_device.h"
#include "media/music.h"
#include "media/png_image.h"
#include "media/rgba_image.h"
#include "platform/platform_ops.h"
#include "tests/game/game_fixture.h"

namespace {

std::string programPath;  // the copy the child runs as
const std::string kShotDir = STAKKO_SCREENSHOT_DIR;
const char* const kScreens[] = {"splash", "title",    "play",    "pause",
                                "gameover", "nameentry", "hiscores"};

long ReadProgramLink(char* buffer, std::size_t size) {
  if (programPath.size() > size) return -1;
  std::memcpy(buffer, programPath.data(), programPath.size());
  return static_cast<long>(programPath.size());
}

// Through the splash to a game with a handicap of 3, its pieces spread and dropped to game over
// (pausing once), a name entered ("CA"), the table, and out through the exit button. Every screen
// is saved on the way through the runtime's screen-save command (the README shows copies) and
// probed where its buttons, banners and columns must show. The buttons are chosen at each frame
// step from the game's state: a queue of taps (each one frame held and one released), refilled
// when it runs dry.
class WholeGamePlayer : public ScriptedButtonSource {
  void NextFrame() override {
    // The frame step reads the buttons before it shows the frame: the frame is the one just drawn.
    frames_ = gameState == lastState_ ? frames_ + 1 : 0;
    lastState_ = gameState;
    if (StoredMusicVolume() < 0.0f && fadeDirection == 0 && fadeValue == -1.0f)
      Shoot("splash", {});
    if (gameState == kStatePlay && gameOver == 1 && frames_ > 0 && ++overFrames_ == 3)
      Shoot("gameover", {SpriteShownAt(kSpriteGameOver, 0, 80)});
    if (gameState == kStatePlay && pauseValue == kPaused)
      Shoot("pause", {SpriteShownAt(kSpritePaused, 0, 80)});
    if (gameState == kStateTable && frames_ == 1) ShootTable();
    ScriptedButtonSource::NextFrame();
    if (pending_.empty()) Decide();
    words = {pending_.empty() ? held_ : pending_.front()};
    if (!pending_.empty()) pending_.pop_front();
  }
  void Tap(u32 buttons) { pending_.insert(pending_.end(), {buttons, 0}); }
  void Decide() {
    held_ = 0;
    if (StoredMusicVolume() < 0.0f) {  // the splash: left once the logo is fully shown
      if (fadeDirection == 0 && fadeValue == -1.0f) Tap(kActionButton);
      return;
    }
    if (gameState == kStatePlay) {
      played_ = true;
      if (pauseValue == kPaused) {
        Tap(kPauseButton);
      } else if (gameOver == 0) {
        SpreadPieces();
        held_ = kButtonDown;
      } else if (overFrames_ >= 3) {
        Tap(kActionButton);
      }
    } else if (gameState == kStateNameEntry) {
      if (typed_) {
        Shoot("nameentry", {});
        return Tap(kActionButton);
      }
      for (u32 b : {kButtonUp, kButtonUp, kButtonRight, kButtonUp}) Tap(b);
      typed_ = true;
    } else if (gameState == kStateTitle && !played_ && handicap != 3) {
      Tap(kButtonDown);  // to the handicap button, and up to 3
      for (i32 i = 0; i < 3; ++i) Tap(kButtonRight);
    } else if (gameState == kStateTitle && !played_ && selectedButton != 0) {
      if (!titleDrawn_) {  // keys act on their release: the next pass draws the handicap
        titleDrawn_ = true;
        return;
      }
      Shoot("title", {SpriteShownAt(kSpriteStart, 110, 85),
                      SpriteShownAt(kSpriteHandicap + 1, 110, 116),  // selected: a pixel lower
                      SpriteShownAt(kSpriteDigitHighlighted + 3, 205, 119),
                      SpriteShownAt(kSpriteExit, 110, 175)});
      Tap(kButtonUp);
    } else if (gameState == kStateTitle && played_ && selectedButton != 3) {
      Tap(kButtonUp);
    } else {
      Tap(kActionButton);  // starts the game, leaves the table, exits
    }
  }
  // Each new piece goes two columns further along -4, -2, 0, 2, 4 from where it enters; the game
  // is shown and paused once when seven have landed.
  void SpreadPieces() {
    if (pieceRow < lastRow_) {
      if (++pieces_ == 8 && !shot_.contains("play")) {
        Shoot("play", {});
        return Tap(kPauseButton);
      }
      const i32 shift = pieces_ % 5 * 2 - 4;
      for (i32 i = 0; i < (shift < 0 ? -shift : shift); ++i)
        Tap(shift < 0 ? kButtonLeft : kButtonRight);
    }
    lastRow_ = pieceRow;
  }
  void ShootTable() {
    std::vector<bool> columns;  // levels end at x 200 and scores at 305, whatever their digits
    for (i32 i = 0; i < 5; ++i) {
      const i32 y = TableRowY(i);
      columns.insert(columns.end(),
                     {PixelsUnlikeSprite(kSpriteTitleBackground, 188, y, 12, 20) > 0,
                      PixelsUnlikeSprite(kSpriteTitleBackground, 200, y, 20, 20) == 0,
                      PixelsUnlikeSprite(kSpriteTitleBackground, 293, y, 12, 20) > 0,
                      PixelsUnlikeSprite(kSpriteTitleBackground, 305, y, 15, 20) == 0});
    }
    Shoot("hiscores", columns);
  }
  // Saves the back buffer once per name. The screen save writes pixels of the transparent colour
  // as see-through; the game's is black, which its screens use, so the default one (a pink the
  // screens do not hold) stands in while saving.
  void Shoot(const std::string& name, const std::vector<bool>& probes) {
    if (!shot_.insert(name).second) return;
    std::filesystem::create_directories(kShotDir);
    SetTransparentColourCommand(kDefaultTransparentColour);
    SaveScreenImageCommand(DynString((kShotDir + "/" + name + ".png").c_str()));
    SetTransparentColourCommand(0);
    for (std::size_t i = 0; i < probes.size(); ++i)
      if (!probes[i]) std::printf("probe %zu of %s failed\n", i, name.c_str());
  }
  std::deque<u32> pending_;
  u32 held_ = 0;
  bool played_ = false, typed_ = false, titleDrawn_ = false;
  i32 pieces_ = 0, frames_ = 0, lastState_ = -1, overFrames_ = 0;
  i32 lastRow_ = kFieldRows;
  std::set<std::string> shot_;
};

// The child: starts the program's way, hands the buttons to the player, runs the game.
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
  inputDevice->SetButtonSource(std::make_unique<WholeGamePlayer>());
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

TEST(WholeGameRun, PlayedToGameOverWithANameEnteredAndLeftByTheExitButton) {
  SDL_Quit();  // the child starts SDL afresh
  ScopedTempDir dir;
  for (const char* file : {"stakko", "fxdata.sbx", "streamdata.sbx"})
    std::filesystem::copy_file(kGameDir + "/" + file, dir.File(file));
  programPath = dir.File("stakko");
  std::filesystem::remove_all(kShotDir);
  const ChildResult run = RunInChild(RunProgram);
  EXPECT_EQ(0, run.exitStatus);
  EXPECT_TRUE(RuntimeLinesOnly(run.output)) << run.output;
  EXPECT_EQ(std::string("\x9a\x99\x99\x3e", 4), ReadFileBytes(dir.File("Config.dat")));
  // The entered name took the lowest entry's place, with the score and level it was played to.
  const std::string table = ReadFileBytes(dir.File("Hiscores.dat"));
  const std::size_t at = table.find("CA      \r\n");
  ASSERT_TRUE(at >= 4 && at != std::string::npos) << table;
  const u8* bytes = reinterpret_cast<const u8*>(table.data());
  EXPECT_GE(static_cast<i32>(ReadLE32(bytes + at - 4)), 80);
  EXPECT_EQ(1u, ReadLE16(bytes + at + 10));
  EXPECT_EQ(std::string::npos, table.find("Tullo"));
  EXPECT_EQ(68u, table.size());
  for (const char* screen : kScreens) {  // every screen saved whole, nothing see-through
    OwnedRgbaImage image;
    ASSERT_EQ(1, LoadPngImage(image.image, (kShotDir + "/" + screen + ".png").c_str(), 0))
        << screen;
    ASSERT_EQ(std::make_pair(320, 240), std::make_pair(image.image.width, image.image.height));
    for (i32 i = 0; i < 320 * 240; ++i) ASSERT_NE(0, image.image.rgba[i * 4 + 3]) << screen;
  }
}

}  // namespace

// Every global object of the runtime, defined in this one translation unit so that their
// construction order is the order written here (C++ fixes it only within one translation unit)
// and their destruction order its reverse.
//
// To add one: declare it `extern` in the header of the subsystem that uses it (never define it
// there), define it below in the section of its layer, after anything its constructor or
// destructor relies on, and put it back to its process-start value in
// ResetRuntimeGlobalsForTests. A test program that uses the subsystem links stakko_runtime (the
// CMake files do so through the libraries' link cycle).
//
// Scratch buffers and caches kept inside one function, the end-of-program sequence's own guards,
// and the replaceable seams to the operating system stay beside their code: they are built on
// first use or constant-initialised, hold nothing of a run, and no order can matter for them.
#include "runtime/runtime_globals.h"

#include "core/call_by_name.h"
#include "core/data_blocks.h"
#include "core/program_services.h"
#include "core/random.h"
#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "files/channel_table.h"
#include "files/ini_store.h"
#include "files/line_file.h"
#include "files/store_write_back.h"
#include "media/graphics_device.h"
#include "media/input_device.h"
#include "media/music.h"
#include "media/pointer.h"
#include "media/render_target.h"
#include "media/textured_quads.h"
#include "net/session_commands.h"
#include "net/socket_table.h"
#include "runtime/frame_step.h"
#include "scene3d/texture_commands.h"

namespace {

// Runs a function when the object is destroyed at process exit: defined right after a store, it
// runs before that store is destroyed.
struct ExitHandler {
  void (*run)();
  ~ExitHandler() { run(); }
};

bool InstallWriteBack() {
  SetExitWriteBackHandler(WriteBackFileStores);
  return true;
}

}  // namespace

// --- core: error state, start-up settings, clocks, texts (plain values are constant-initialised
// to zero; the two texts start as the shared empty value).
f32 errorCode = 0.0f;
f32 errorLine = 0.0f;
f32 currentLine = 0.0f;
f32 currentPosition = 0.0f;

i32 screenWidth = 0;
i32 screenHeight = 0;
i32 framesPerSecond = 0;
i32 windowActive = 0;
i32 videoFlag = 0;
i32 debugReport = 0;
u32 grabInput = 0;

f64 startClockMs = 0.0;
f64 frameClockMs = 0.0;
f64 previousFrameClockMs = 0.0;

DynString projectName;
DynString commandLine;

ProgramServices registeredServices;
DeviceActiveHooks deviceActiveHooks;
IsaacState isaacState = {};
ReadDataCursor* currentDataCursor = nullptr;
// Destroyed after everything below: closes the external libraries last.
LoadedLibraryTable loadedLibraries;

// Devices and contexts that InitRuntime creates.
OpenGLRainbows* graphicsDevice = nullptr;
NetSession* netSession = nullptr;
Rainbows3D* device3D = nullptr;
InputDevice* inputDevice = nullptr;
AudioDevice* audioDevice = nullptr;
SoundSlot* soundSlots = nullptr;
FileResolverContext* musicResolver = nullptr;
FileResolverContext* generalResolver = nullptr;
i32 currentFont = 0;

// --- files: the line file, the channel table, the INI store. At exit the INI store is written
// back first and the line file last; the end of program writes both back earlier, through the
// write-back seam, since the launcher replaces the process before any exit handler runs.
LineFile lineFile;
ExitHandler lineFileExit{[] { OpenLineFile(lineFile, nullptr); }};
ChannelTable channelTable;
ExitHandler channelTableExit{DestroyChannelTable};
IniFile iniStore;
ExitHandler iniStoreExit{DestroyIniFile};
[[maybe_unused]] const bool fileWriteBackInstalled = InstallWriteBack();

// --- net. (The renderer's context is a function-local static of its own: see
// GetSoftRenderContext.)
SocketTable socketTable;
NetReplyWait netReplyWait;
u16 netLastSenderId = 0;

// --- media: the render target (constant-initialised; its destructor releases the buffers), the
// device the shell command switches, the textured polygon, typed characters, the pointer, music.
constinit RenderTarget renderTarget;
OpenGLRainbows* activeFlagDevice = nullptr;
TexturedPolygon texturedPolygon;
u8 lastTypedChar = 0;
PointerSampling pointerSampling;
Mix_Music* currentMusic = nullptr;
f32 storedMusicVolume = kNoMusicVolume;

// --- scene3d and the runtime's own switches.
i32 textureMode3D = 0;
Commands3DState commands3D;
bool quitComboEnabled = true;

void ResetRuntimeGlobalsForTests() {
  errorCode = errorLine = currentLine = currentPosition = 0.0f;
  screenWidth = screenHeight = framesPerSecond = windowActive = videoFlag = debugReport = 0;
  grabInput = 0;
  startClockMs = frameClockMs = previousFrameClockMs = 0.0;
  projectName.Reset();
  commandLine.Reset();
  registeredServices = ProgramServices{};
  deviceActiveHooks = DeviceActiveHooks{};
  isaacState = IsaacState{};
  currentDataCursor = nullptr;
  UnloadSharedLibraries();

  graphicsDevice = nullptr;
  netSession = nullptr;
  device3D = nullptr;
  inputDevice = nullptr;
  audioDevice = nullptr;
  soundSlots = nullptr;
  musicResolver = nullptr;
  generalResolver = nullptr;
  currentFont = 0;

  lineFile = LineFile{};
  CloseAllChannels();
  iniStore.sections.Free();
  iniStore.name.Reset();
  iniStore.changed = 0;

  for (i32 i = 0; i < kSocketSlotCount; ++i) SocketClose(i);
  socketTable = SocketTable{};
  netReplyWait = NetReplyWait{};
  netLastSenderId = 0;

  renderTarget.Free();
  renderTarget.plot = PlotPlain;
  renderTarget.depthDirty = 0;
  renderTarget.flags = 0;
  renderTarget.rotated = 1;
  renderTarget.blend = 0;
  activeFlagDevice = nullptr;
  texturedPolygon = TexturedPolygon{};
  lastTypedChar = 0;
  pointerSampling = PointerSampling{};
  StopMusic();

  textureMode3D = 0;
  commands3D = Commands3DState{};
  quitComboEnabled = true;
}

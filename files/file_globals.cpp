// The static objects of the file layer, defined together so that their construction order, and
// with it the order of their exit handlers, is fixed: the line file, the channel table, the INI
// store. Each exit handler is an object defined right after its store, so at process exit it
// runs before that store is destroyed (the INI store first, the line file last).
//
// The launcher replaces the process at the end of program, so exit handlers alone would lose
// changes held in memory; the end of program therefore also writes both stores back, through
// the seam installed here, before it syncs.
#include "core/runtime_error.h"
#include "files/channel_table.h"
#include "files/ini_store.h"
#include "files/line_file.h"

namespace {

struct ExitHandler {
  void (*run)();
  ~ExitHandler() { run(); }
};

// Writes both stores back and leaves them unchanged, so their exit handlers find nothing to do.
// Only FopenCase is used: the resolver contexts are already gone.
void WriteBackAtEnd() {
  OpenLineFile(lineFile, nullptr);
  WriteIniFile(&iniStore);
  iniStore.changed = 0;
}

bool InstallWriteBack() {
  SetExitWriteBackHandler(WriteBackAtEnd);
  return true;
}

}  // namespace

LineFile lineFile;
static ExitHandler lineFileExit{[] { OpenLineFile(lineFile, nullptr); }};
ChannelTable channelTable;
static ExitHandler channelTableExit{DestroyChannelTable};
IniFile iniStore;
static ExitHandler iniStoreExit{DestroyIniFile};
[[maybe_unused]] static const bool writeBackInstalled = InstallWriteBack();

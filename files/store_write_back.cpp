// Writing the file layer's two stores back at the end of program.
#include "files/store_write_back.h"

#include "files/ini_store.h"
#include "files/line_file.h"

void WriteBackFileStores() {
  OpenLineFile(lineFile, nullptr);
  WriteIniFile(&iniStore);
  iniStore.changed = 0;
}

// Keeping a damaged game file. Renaming keeps every byte, however large the file, without reading
// it again.
#include "game/damaged_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "files/directory_commands.h"
#include "files/file_open.h"

namespace game {

void KeepDamagedFile(const char* name) {
  char found[kMaxFileNameLength + 1];
  if (fopen_case(name, found) != 1 || IsDirectory(found)) return;
  const std::string kept = std::string(found) + ".damaged";
  if (std::rename(found, kept.c_str()) == 0) {
    std::printf("%s is damaged: kept as %s, the defaults are written in its place\n", name,
                kept.c_str());
  } else {
    std::printf("%s is damaged and could not be kept as %s (%s): the defaults replace it\n", name,
                kept.c_str(), std::strerror(errno));
  }
}

}  // namespace game

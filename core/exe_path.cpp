// Reading the executable's path through the platform seam, with fixed limits that cannot be
// overrun: the link is read into a bounded buffer and a resolved path longer than that buffer is
// refused rather than cut.
#include "core/exe_path.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/platform_ops.h"

namespace {

// The runtime keeps the path in a text of this many characters, NUL included.
constexpr std::size_t kPathBufferSize = 1024;

bool ReadExeLink(std::string& path) {
  char buffer[kPathBufferSize];
  // Reading at most size - 1 bytes leaves room to tell a complete link from a cut-off one.
  const long count = Platform().readExeLink(buffer, sizeof buffer - 1);
  if (count <= 0 || count >= static_cast<long>(sizeof buffer - 1)) return false;
  path.assign(buffer, static_cast<std::size_t>(count));
  return true;
}

bool ResolveUnderscoreVariable(std::string& path) {
  const char* name = Platform().getEnv("_");
  if (name == nullptr || name[0] == '\0') return false;
  char* resolved = realpath(name, nullptr);
  if (resolved == nullptr) return false;
  const bool fits = std::strlen(resolved) < kPathBufferSize;
  if (fits) path = resolved;
  std::free(resolved);
  return fits;
}

}  // namespace

std::string ReadExecutablePath() {
  std::string path;
  if (ReadExeLink(path)) return path;
  if (ResolveUnderscoreVariable(path)) return path;
  return "./";
}

std::string CutToDirectory(const std::string& path) {
  for (std::size_t i = path.size(); i > 1; --i) {
    const char c = path[i - 1];
    if (c == '/' || c == '\\') return path.substr(0, i - 1);
  }
  return path;
}

void ChangeToExecutableDirectory() {
  const std::string directory = CutToDirectory(ReadExecutablePath());
  Platform().changeDir(directory.c_str());
}

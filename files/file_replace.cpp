// Replacing a file through a temporary file and a rename.
#include "files/file_replace.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "files/file_open.h"

namespace {

// Tries a few names, in case a file of the same name is left from an earlier process.
constexpr int kTemporaryNameTries = 16;

std::atomic<unsigned> temporaryCounter{0};

std::string TargetOf(const char* name) {
  char found[kMaxFileNameLength + 1];
  return fopen_case(name, found) ? std::string(found) : std::string(name);
}

// A short name of its own in the target's folder: built from the target's name it would pass the
// file system's limit on a name's length whenever the target's name comes near it.
std::string TemporaryName(const std::string& target) {
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  return folder + ".tmp" + std::to_string(getpid()) + "-" +
         std::to_string(temporaryCounter.fetch_add(1));
}

}  // namespace

FileReplacement::FileReplacement(const char* name) {
  if (name == nullptr || *name == '\0') return;
  target_ = TargetOf(name);
  for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
    const std::string temp = TemporaryName(target_);
    // The usual creation mode, so that the saved file ends up with the permissions a plain
    // create would give it.
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return;
    }
    fp_ = fdopen(fd, "wb");
    if (fp_ == nullptr) {
      close(fd);
      unlink(temp.c_str());
      return;
    }
    temp_ = temp;
    return;
  }
}

FileReplacement::~FileReplacement() { Abandon(); }

bool FileReplacement::Commit(bool written) {
  if (fp_ == nullptr || !written) {
    Abandon();
    return false;
  }
  bool ok = std::fflush(fp_) == 0 && fsync(fileno(fp_)) == 0;
  ok = std::fclose(fp_) == 0 && ok;
  fp_ = nullptr;
  if (!ok || std::rename(temp_.c_str(), target_.c_str()) != 0) {
    Abandon();
    return false;
  }
  temp_.clear();
  return true;
}

void FileReplacement::Abandon() {
  if (fp_ != nullptr) std::fclose(fp_);
  fp_ = nullptr;
  if (!temp_.empty()) unlink(temp_.c_str());
  temp_.clear();
}

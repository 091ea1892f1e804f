// Writing a file beside its target and renaming it over the target when it is complete.
#include "net/download_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace {

// Tries further names while they exist already; a few suffice unless the folder is full of them.
constexpr int kNameAttempts = 64;

std::atomic<unsigned> nameCounter{0};

// Creates a new file that did not exist, with the permissions a plain "wb" open would give it.
std::FILE* CreateFresh(const std::string& target, std::string& name) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    name = target + "." + std::to_string(getpid()) + "." + std::to_string(nameCounter++) + ".tmp";
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      std::FILE* file = fdopen(fd, "wb");
      if (file == nullptr) {
        close(fd);
        std::remove(name.c_str());
      }
      return file;
    }
    if (errno != EEXIST) break;
  }
  name.clear();
  return nullptr;
}

}  // namespace

DownloadFile::DownloadFile(const std::string& target) : target_(target) {
  if (!target_.empty()) file_ = CreateFresh(target_, temporary_);
  if (file_ == nullptr) std::printf("can't write to file: %s\n", target_.c_str());
}

DownloadFile::~DownloadFile() { Abandon(); }

bool DownloadFile::Commit() {
  if (file_ == nullptr) return false;
  const bool written = std::ferror(file_) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (written && closed && std::rename(temporary_.c_str(), target_.c_str()) == 0) {
    temporary_.clear();
    return true;
  }
  Abandon();
  return false;
}

void DownloadFile::Abandon() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) std::remove(temporary_.c_str());
  temporary_.clear();
}

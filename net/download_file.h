// A file that replaces its target only when it is complete: written under a fresh name beside the
// target (same folder, so the final rename is atomic) and renamed over it on success. A transfer
// that fails leaves the old copy of the target as it was.
#pragma once

#include <cstdio>
#include <string>

class DownloadFile {
 public:
  // Creates the file beside `target`; when it cannot be created, prints the runtime's "can't write
  // to file" line with the target's name and file() is null.
  explicit DownloadFile(const std::string& target);
  // A file neither committed nor abandoned is removed.
  ~DownloadFile();
  DownloadFile(const DownloadFile&) = delete;
  DownloadFile& operator=(const DownloadFile&) = delete;

  std::FILE* file() const { return file_; }
  // Closes the file and moves it over the target: false (and the file removed, the target kept)
  // when a write, the close or the rename failed.
  bool Commit();
  // Closes and removes the file; the target is kept.
  void Abandon();

 private:
  std::string target_;
  std::string temporary_;
  std::FILE* file_ = nullptr;
};

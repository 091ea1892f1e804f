// Saving a file without putting the old one at risk: the new contents go to a temporary file with
// a short name of its own in the target's folder, which is renamed over the target only once
// every byte is written, flushed to the disk and the file closed. A save that fails (a full disk,
// a target that is a folder) leaves the old file as it was and no temporary file behind.
#pragma once

#include <cstdio>
#include <string>

class FileReplacement {
 public:
  // Picks the target, an existing file that matches the name ignoring case or else the name
  // itself, and creates the temporary file; Stream() is null when that fails.
  explicit FileReplacement(const char* name);
  // A replacement that was not committed removes its temporary file.
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  std::FILE* Stream() const { return fp_; }
  // With `written` true: flushes and closes the temporary file and renames it over the target,
  // true when all of that worked. With `written` false (a write failed) it gives the replacement
  // up. Either way the temporary file is gone afterwards unless it became the target.
  bool Commit(bool written);

 private:
  void Abandon();

  std::FILE* fp_ = nullptr;
  std::string target_;
  std::string temp_;
};

// The fuzz targets' private folder, inputs as memory blocks and files, and the end-of-program
// hook.
#include "fuzz/fuzz_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "files/file_resolver.h"
#include "files/memory_name.h"
#include "platform/platform_ops.h"

namespace {

[[noreturn]] void ThrowProgramEnd() { throw FuzzProgramEnd{errorCode}; }

// The private folder lives as long as the process and is removed with what the targets left.
class FuzzFolder {
 public:
  FuzzFolder() {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) base = "/tmp";
    std::string pattern = (base / "stakko-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("cannot prepare the fuzz folder");
      std::abort();
    }
    path_ = pattern;
    std::filesystem::create_directory(path_ + "/unpacked", error);
    Platform().tempFolder = path_ + "/unpacked/";
    generalResolver = CreateFileResolverContext();
    musicResolver = CreateFileResolverContext();
    SetEndProgramHookForTests(ThrowProgramEnd);
  }
  ~FuzzFolder() {
    DeleteFileResolverContext(generalResolver);
    DeleteFileResolverContext(musicResolver);
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

FuzzFolder& Folder() {
  static FuzzFolder folder;
  return folder;
}

}  // namespace

void BeginFuzzInput() {
  Folder();
  errorCode = 0.0f;
  errorLine = 0.0f;
}

InFuzzFolder::InFuzzFolder() : previous_(open(".", O_RDONLY | O_DIRECTORY)) {
  if (previous_ < 0 || chdir(Folder().Path().c_str()) != 0) {
    std::perror("cannot enter the fuzz folder");
    std::abort();
  }
}

InFuzzFolder::~InFuzzFolder() {
  if (fchdir(previous_) != 0) std::perror("cannot leave the fuzz folder");
  close(previous_);
}

std::string FuzzPath(const std::string& name) { return Folder().Path() + "/" + name; }

std::string WriteFuzzFile(const std::string& name, const u8* data, std::size_t size) {
  const std::string path = FuzzPath(name);
  std::FILE* fp = std::fopen(path.c_str(), "wb");
  const bool written = fp != nullptr && (size == 0 || std::fwrite(data, 1, size, fp) == size);
  if (fp == nullptr || std::fclose(fp) != 0 || !written) {
    std::perror(path.c_str());
    std::abort();
  }
  return path;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

MemoryFile::MemoryFile(const u8* data, std::size_t size) : bytes_(new u8[size]), size_(size) {
  if (size > 0) std::memcpy(bytes_.get(), data, size);
  name_ = FormatMemoryName(static_cast<u32>(size), bytes_.get());
}

SharedMemoryBlock LiveMemoryBlock(const void* data, std::size_t size) {
  u8* copy = new u8[size];
  if (size > 0) std::memcpy(copy, data, size);
  return MakeMemoryBlock(copy, static_cast<u32>(size));
}

std::string LiveMemoryName(const SharedMemoryBlock& block) {
  return FormatMemoryName(block->Size(), block->Data());
}

void FuzzFailure(const char* file, int line, const char* what) {
  std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", file, line, what);
  std::fflush(stderr);
  std::abort();
}

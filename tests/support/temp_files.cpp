// Temporary folders and whole-file helpers for tests.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/test_support.h"

ScopedTempDir::ScopedTempDir() {
  std::error_code error;
  std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) base = "/tmp";
  std::string pattern = (base / "stakko-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) != nullptr) {
    path_ = pattern;
  } else {
    ADD_FAILURE() << "cannot create a temporary folder from " << pattern;
  }
}

ScopedTempDir::~ScopedTempDir() {
  if (path_.empty()) return;
  std::error_code error;
  std::filesystem::remove_all(path_, error);
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);  // a stream that did not open fails
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);  // a file that does not open reads as empty
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

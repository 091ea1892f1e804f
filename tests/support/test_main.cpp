// The main of every test program: forces SDL onto its dummy drivers before anything can start
// SDL, so the whole suite runs headless, and gives the process a temporary folder of its own:
// files unpacked from packs get fixed names there, and test programs run side by side. A test
// that really ends the program (not through the test hook) would end the process with status 0,
// a pass to the test runner: such an early exit fails instead.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

// Under AddressSanitizer a single allocation above 1 GB is a fault: no test input has a right to
// it (a damaged size field that reaches the allocator shows up here).
extern "C" const char* __asan_default_options() { return "max_allocation_size_mb=1024"; }

namespace {

pid_t testProcess = 0;  // children of RunInChild end as they like
bool testsFinished = false;

void FailAnEarlyExit() {
  if (getpid() != testProcess || testsFinished) return;
  std::fputs("the test process ended before its tests had finished\n", stderr);
  _exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  testProcess = getpid();
  std::atexit(FailAnEarlyExit);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);

  std::error_code error;
  std::string folder = (std::filesystem::temp_directory_path(error) / "stakko-run-XXXXXX").string();
  const bool ownFolder = !error && mkdtemp(folder.data()) != nullptr;
  if (ownFolder) setenv("TMPDIR", folder.c_str(), 1);

  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  testsFinished = true;
  if (ownFolder) std::filesystem::remove_all(folder, error);
  return result;
}

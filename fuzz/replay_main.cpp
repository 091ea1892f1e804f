// fuzz_replay: runs saved inputs through a fuzz target without the fuzzing engine, so that the
// normal build (and the sanitizer build) can keep every seed and every past finding as a
// regression test.
//
//   fuzz_replay TARGET PATH...   each PATH is a file or a folder whose files are all run
//   fuzz_replay --all FOLDER     every target over FOLDER/<target name>
//   fuzz_replay --list           the names of the targets
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_target.h"

namespace {

namespace fs = std::filesystem;

// Every input named by the paths, in a stable order.
bool CollectInputs(const std::vector<std::string>& paths, std::vector<fs::path>& inputs) {
  for (const std::string& named : paths) {
    std::error_code error;
    const fs::path path = fs::absolute(named, error);
    if (fs::is_directory(path, error)) {
      std::vector<fs::path> files;
      for (const fs::directory_entry& entry : fs::directory_iterator(path, error)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
      }
      std::sort(files.begin(), files.end());
      inputs.insert(inputs.end(), files.begin(), files.end());
    } else if (fs::is_regular_file(path, error)) {
      inputs.push_back(path);
    } else {
      std::fprintf(stderr, "fuzz_replay: no such file or folder: %s\n", named.c_str());
      return false;
    }
  }
  return true;
}

int Replay(const FuzzTarget& target, const std::vector<std::string>& paths) {
  std::vector<fs::path> inputs;
  if (!CollectInputs(paths, inputs)) return 2;
  for (const fs::path& input : inputs) {
    std::ifstream in(input, std::ios::binary);
    // An exactly sized block, as the fuzzing engine hands over, so overreads are caught.
    const std::vector<u8> data((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    std::fprintf(stderr, "%s: %s (%zu bytes)\n", target.name, input.c_str(), data.size());
    static const u8 kNothing = 0;
    target.run(data.empty() ? &kNothing : data.data(), data.size());
  }
  std::fprintf(stderr, "%s: %zu inputs passed\n", target.name, inputs.size());
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: fuzz_replay TARGET PATH...\n"
               "       fuzz_replay --all FOLDER\n"
               "       fuzz_replay --list\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && args[0] == "--list") {
    for (const FuzzTarget* t = FuzzTargetsBegin(); t != FuzzTargetsEnd(); ++t) {
      std::printf("%s\n", t->name);
    }
    return 0;
  }
  if (args.size() == 2 && args[0] == "--all") {
    for (const FuzzTarget* t = FuzzTargetsBegin(); t != FuzzTargetsEnd(); ++t) {
      const int status = Replay(*t, {(fs::path(args[1]) / t->name).string()});
      if (status != 0) return status;
    }
    return 0;
  }
  if (args.size() < 2) return Usage();
  const FuzzTarget* target = FindFuzzTarget(args[0]);
  if (target == nullptr) {
    std::fprintf(stderr, "fuzz_replay: no target named %s\n", args[0].c_str());
    return 2;
  }
  return Replay(*target, std::vector<std::string>(args.begin() + 1, args.end()));
}

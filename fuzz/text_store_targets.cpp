// The line file and the INI store over hostile text. Each input is loaded as a memory file and as
// a file (both must give the same contents), looked up, written back and loaded again: the second
// load must give the store the first one gave, so that a program that reads a file and saves it
// unchanged loses and gains nothing.
#include <string>
#include <vector>

#include "core/dyn_string.h"
#include "files/ini_store.h"
#include "files/line_file.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_target.h"

namespace {

std::string Text(const DynString& text) { return std::string(text.CStr(), text.Length()); }

// --- the line file ---

struct LineSnapshot {
  std::vector<std::string> lines;
  i32 lastLine = 0;
  bool operator==(const LineSnapshot&) const = default;
};

LineSnapshot Load(const char* name) {
  FUZZ_CHECK(OpenLineFile(lineFile, name) == 0.0f, "a line file that exists does not load");
  return {std::vector<std::string>(std::begin(lineFile.lines), std::end(lineFile.lines)),
          lineFile.lastLine};
}

std::string TrimmedOrNoData(std::string line) {
  while (!line.empty() && static_cast<unsigned char>(line.back()) < 32) line.pop_back();
  return line.empty() ? "NO_DATA" : line;
}

void LookUpLines(const std::string& path, const LineSnapshot& loaded) {
  for (const i32 index : {0, loaded.lastLine, loaded.lastLine + 1, kLineFileLines - 1}) {
    if (index >= kLineFileLines) continue;
    DynString text;
    FUZZ_CHECK(ReadFileLine(path.c_str(), index, text) == 0.0f, "a line in range fails");
    FUZZ_CHECK(Text(text) == TrimmedOrNoData(loaded.lines[index]), "a line reads wrong");
  }
  for (const i32 index : {-1, kLineFileLines}) {
    DynString text;
    FUZZ_CHECK(ReadFileLine(path.c_str(), index, text) == 7.0f, "a line out of range reads");
    FUZZ_CHECK(Text(text) == "NO_DATA", "a line out of range gives text");
  }
}

// --- the INI store ---

bool SameStore(const IniFile& a, const IniFile& b) {
  if (a.sections.Count() != b.sections.Count()) return false;
  for (i32 s = 0; s < a.sections.Count(); ++s) {
    const IniSection& x = a.sections[s];
    const IniSection& y = b.sections[s];
    if (Text(x.name) != Text(y.name) || x.entries.Count() != y.entries.Count()) return false;
    for (i32 e = 0; e < x.entries.Count(); ++e) {
      if (Text(x.entries[e].key) != Text(y.entries[e].key) ||
          Text(x.entries[e].value) != Text(y.entries[e].value)) {
        return false;
      }
    }
  }
  return true;
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Every key of every section answers with the value of the first section of that name that has
// it first, or "NO_DATA" when the first section of that name lacks it.
void LookUpKeys(const IniFile& store) {
  for (const IniSection& section : store.sections) {
    const IniSection* first = nullptr;
    for (const IniSection& candidate : store.sections) {
      if (SameIgnoringCase(Text(candidate.name), Text(section.name))) {
        first = &candidate;
        break;
      }
    }
    for (const IniEntry& entry : section.entries) {
      std::string expected = "NO_DATA";
      for (const IniEntry& candidate : first->entries) {
        if (SameIgnoringCase(Text(candidate.key), Text(entry.key))) {
          expected = Text(candidate.value);
          break;
        }
      }
      FUZZ_CHECK(Text(GetIniValueFrom(&store, section.name, entry.key)) == expected,
                 "an INI lookup found the wrong value");
    }
  }
}

}  // namespace

void FuzzLineFile(const u8* data, std::size_t size) {
  BeginFuzzInput();
  const MemoryFile memory(data, size);
  const std::string path = WriteFuzzFile("lines.txt", data, size);

  const LineSnapshot fromMemory = Load(memory.Name());
  const LineSnapshot fromFile = Load(path.c_str());
  FUZZ_CHECK(fromMemory == fromFile, "memory and file line files differ");
  LookUpLines(path, fromFile);

  // Storing the last line unchanged marks the file changed; naming no file writes it back.
  WriteFileLineAt(path.c_str(), fromFile.lastLine,
                  DynString::FromBytes(fromFile.lines[fromFile.lastLine].data(),
                                       static_cast<u32>(fromFile.lines[fromFile.lastLine].size())));
  FUZZ_CHECK(OpenLineFile(lineFile, nullptr) == 0.0f, "write-back");
  FUZZ_CHECK(Load(path.c_str()) == fromFile, "a written line file loads differently");
  OpenLineFile(lineFile, nullptr);
}

void FuzzIniStore(const u8* data, std::size_t size) {
  BeginFuzzInput();
  const MemoryFile memory(data, size);
  const DynString memoryName(memory.Name());
  const DynString path(WriteFuzzFile("settings.ini", data, size).c_str());

  IniFile fromMemory, fromFile, written;
  ParseIniFile(&fromMemory, &memoryName);
  ParseIniFile(&fromFile, &path);
  FUZZ_CHECK(SameStore(fromMemory, fromFile), "memory and file INI stores differ");
  LookUpKeys(fromFile);

  fromFile.changed = 1;
  WriteIniFile(&fromFile);
  ParseIniFile(&written, &path);
  FUZZ_CHECK(SameStore(fromFile, written), "a written INI file parses differently");
}

// The line file: loading, write-back and the line commands.
#include "files/line_file.h"

#include <cstdio>
#include <cstring>

#include "core/float_convert.h"
#include "core/runtime_error.h"
#include "core/runtime_globals.h"
#include "files/file_channel.h"
#include "files/file_open.h"
#include "files/file_resolver.h"
#include "files/memory_name.h"

namespace {

bool NameFits(const char* name) { return std::strlen(name) < kResolvedPathSize; }

bool WriteLines(const LineFile& file, std::FILE* fp) {
  bool ok = true;
  for (i32 i = 0; i <= file.lastLine && ok; ++i) {
    const std::string& line = file.lines[i];
    ok = std::fwrite(line.data(), 1, line.size(), fp) == line.size() &&
         std::fwrite("\r\n", 1, 2, fp) == 2;
  }
  return ok;
}

// A changed file goes back to disk under its name as the program gave it; a pack entry ("mem://")
// has nowhere to go.
void WriteBack(const LineFile& file) {
  if (file.name.empty() || !file.changed || IsMemoryName(file.name.c_str())) return;
  std::FILE* fp = CreateFileForWriting(file.name.c_str());
  if (fp == nullptr) return;
  const bool written = WriteLines(file, fp);
  if (std::fclose(fp) != 0 || !written) std::printf("can't write to file: %s\n", file.name.c_str());
}

void Empty(LineFile& file) {
  for (std::string& line : file.lines) line.clear();
  file.changed = 0;
  file.lastLine = 0;
  file.name.clear();
}

// Reads lines into the slots until the data or the slots run out. Lines longer than a slot
// continue in the next one.
void LoadLines(LineFile& file, FileChannel& channel) {
  char buffer[kLineFileLineBytes + 1];
  for (i32 i = 0; i < kLineFileLines; ++i) {
    if (!ReadFileChannelLine(&channel, buffer, sizeof buffer)) return;
    file.lines[i] = buffer;
    file.lastLine = i;
  }
}

f32 RecordError(f32 code) {
  SetRuntimeError(code);
  return code;
}

bool IndexInRange(i32 index) { return static_cast<u32>(index) < kLineFileLines; }

void TrimControlBytes(std::string& text) {
  while (!text.empty() && static_cast<unsigned char>(text.back()) < 32) text.pop_back();
}

}  // namespace

f32 OpenLineFile(LineFile& file, const char* name) {
  if (name != nullptr) {
    if (file.name == name) return 0.0f;
    // A name the 1024-byte interfaces cannot hold is refused before anything changes.
    if (!NameFits(name)) return RecordError(kErrFile);
  }
  WriteBack(file);
  Empty(file);
  if (name == nullptr) return 0.0f;
  file.name = name;

  char path[kResolvedPathSize];
  FileChannel channel;
  if (!ResolveFile(generalResolver, name, path, true) || !OpenFileChannelRead(&channel, path)) {
    // The name stays current with no lines: a later write creates the file at write-back.
    return RecordError(kErrFile);
  }
  LoadLines(file, channel);
  CloseFileChannel(&channel);
  return 0.0f;
}

f32 ReadFileLine(const char* name, i32 index, DynString& text) {
  if (name == nullptr) name = "";
  if (!IndexInRange(index)) {
    text = DynString("NO_DATA");
    return RecordError(kErrStorage);
  }
  const f32 opened = OpenLineFile(lineFile, name);
  if (opened != 0.0f) {
    text = DynString("NO_FILE");
    return opened;
  }
  std::string line = lineFile.lines[index];
  TrimControlBytes(line);
  text = DynString(line.empty() ? "NO_DATA" : line.c_str());
  return 0.0f;
}

f32 ReadFileLineCmd(DynString& name, f32 index, DynString& text) {
  return ReadFileLine(name.CStr(), TruncToI32(index), text);
}

f32 ReadFileLineInt(DynString& name, f32 index, i32& value) {
  DynString text;
  const f32 result = ReadFileLineCmd(name, index, text);
  value = DynStringToInt(text);
  return result;
}

f32 ReadFileLineFloat(DynString& name, f32 index, f32& value) {
  DynString text;
  const f32 result = ReadFileLineCmd(name, index, text);
  value = text.ToNumber();
  return result;
}

void WriteFileLineAt(const char* name, i32 index, const DynString& text) {
  if (name == nullptr) name = "";
  if (!IndexInRange(index)) {
    SetRuntimeError(kErrStorage);
    return;
  }
  // A refused name is not current, so the line has no file to go to.
  if (!NameFits(name)) {
    SetRuntimeError(kErrFile);
    return;
  }
  OpenLineFile(lineFile, name);
  // The slot holds the text up to its first zero byte, cut to the slot's size.
  const std::size_t length = strnlen(text.CStr(), text.Length());
  lineFile.lines[index].assign(text.CStr(),
                               length < kLineFileLineBytes ? length : kLineFileLineBytes);
  if (index > lineFile.lastLine) lineFile.lastLine = index;
  lineFile.changed = 1;
}

void WriteFileLine(DynString& name, f32 index, const DynString& text) {
  WriteFileLineAt(name.CStr(), TruncToI32(index), text);
}

void WriteFileLineNumber(DynString& name, f32 index, f32 value) {
  WriteFileLineAt(name.CStr(), TruncToI32(index), DynString::FromFloat(value));
}

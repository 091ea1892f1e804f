// The line file: a text file treated as an array of up to 256 lines that programs read and write
// by index, one file in memory at a time. Naming another file writes the current one back when it
// was changed, then loads the new one. Failures come back as "NO_DATA" and "NO_FILE" with error 3
// or 7 recorded, and the program goes on.
#pragma once

#include <string>

#include "core/dyn_string.h"
#include "core/types.h"

constexpr i32 kLineFileLines = 256;
constexpr u32 kLineFileLineBytes = 1024;

struct LineFile {
  std::string name;                       // as the program gave it; empty: no current file
  std::string lines[kLineFileLines];      // each at most kLineFileLineBytes, no zero byte
  i32 lastLine = 0;                       // the highest line in use (0 also for an empty file)
  u8 changed = 0;
};
extern LineFile lineFile;

// Makes `name` current (see line_file.cpp): 0.0, or 3.0 when it cannot be loaded. A null name
// only writes a changed file back and empties the object.
f32 OpenLineFile(LineFile& file, const char* name);

f32 ReadFileLine(const char* name, i32 index, DynString& text);
f32 ReadFileLineCmd(DynString& name, f32 index, DynString& text);
f32 ReadFileLineInt(DynString& name, f32 index, i32& value);
f32 ReadFileLineFloat(DynString& name, f32 index, f32& value);
void WriteFileLineAt(const char* name, i32 index, const DynString& text);
void WriteFileLine(DynString& name, f32 index, const DynString& text);
void WriteFileLineNumber(DynString& name, f32 index, f32 value);

// The commands on the file system around the program: listing the current directory with a
// wildcard pattern into a string array, matching a name against a pattern, asking whether a path
// is a directory, changing and reading the working directory, and turning backslashes into
// slashes. They report failure by their results and never end the program.
#pragma once

#include "core/dyn_array.h"
#include "core/dyn_string.h"
#include "core/types.h"

// Directories first (all of them, "." and ".." included), then the files that match the pattern.
// Result: files + 65536 x directories.
f32 ListDirectory(DynString& pattern, DynArray<DynString>& names);
// '*' matches any run, '?' any one character but '.', ASCII letters ignore case; exactly "*.*"
// matches every name. 1 on a match, else 0.
int MatchWildcard(const char* pattern, const char* name);
int IsDirectory(const char* path);
f32 ChangeDirectory(DynString& path);
// The working directory with '/' separators, always ending in '/'; empty when it cannot be read.
DynString GetCurrentDirectory();
u32 BackslashesToSlashes(DynString& text);

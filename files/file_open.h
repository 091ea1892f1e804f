// Opening files by name with a case-insensitive fallback: when the exact name does not open, the
// last path component is looked up ignoring ASCII case in its directory (the folder part must
// match exactly). Every reader and writer of the runtime opens its files this way, so programs
// written for a case-insensitive file system find their files on Linux. Failures print the
// runtime's request lines on standard output.
#pragma once

#include <cstdio>

struct FileChannel;

// Longest name (without its terminator) that the 1024-byte name interfaces accept.
constexpr int kMaxFileNameLength = 1023;

// Finds the path that opens for `name`: 1 with it in out (1024 bytes), else 0. Names of 1021
// characters or more fail.
int fopen_case(const char* name, char* out);
// Opens `name` with `mode`, falling back to the case-insensitive match; null on failure.
std::FILE* FopenCase(const char* name, const char* mode);
// The same; the channel is not used or changed (the 3D readers pass theirs).
std::FILE* FopenCase(FileChannel* channel, const char* name, const char* mode);
// Replaces a file: removes `name`, then opens it "wb" through FopenCase and, failing that, with a
// plain open. When neither opens, prints "can't write to file: <name>" and returns null.
std::FILE* CreateFileForWriting(const char* name);

// Where the running executable lives. The end of program changes to that directory before it
// starts the launcher, and start-up uses the full path as the pack name and the directory as the
// working directory, so both read it here, the same way.
#pragma once

#include <string>

// The executable's full path: the link "/proc/<pid>/exe" when it reads completely (a link that
// fills the buffer is taken as cut off and refused); else the environment variable "_" resolved
// to an absolute path, when it is set, non-empty, resolvable and shorter than the buffer; else
// "./".
std::string ReadExecutablePath();

// The directory part of a path: the text before its last '/' or '\\'. A separator at the first
// character is not taken, and a path without a taken separator is returned whole.
std::string CutToDirectory(const std::string& path);

// Changes the working directory to the executable's directory; a failure is ignored.
void ChangeToExecutableDirectory();

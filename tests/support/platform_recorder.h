// Replaces the platform calls that end, replace or move the process with stand-ins that print
// one line per call on stdout ("shell sync", "chdir /a/b", "exec path argv0"), so a test sees the
// order of a whole sequence in the captured output of a child process.
#pragma once

#include <string>

// exeLink: what reading the executable's link gives. Execs fail (-1); directory changes and the
// shell succeed (0).
void InstallPrintingPlatform(const std::string& exeLink);

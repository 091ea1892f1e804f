// A writer of "DDDA" text models, for the fuzz seeds and for the text model target's round trip:
// the runtime reads text models but never writes them, so the fuzzing keeps a small writer of its
// own. Numbers are written so that they read back to the same 32-bit floats.
#pragma once

#include <string>

#include "core/types.h"

struct DddTextReader;

struct DddTextStyle {
  bool normals = true;          // version 1.1 with vertex normals, else version 1 without
  std::string lineEnd = "\n";   // "\r\n" for files written on other systems
  bool comments = false;        // a "#" line before every list
};

// The model of the reader's lists as text, one element a line.
std::string WriteDddText(const DddTextReader& model, const DddTextStyle& style = {});

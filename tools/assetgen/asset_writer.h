// Writes every file the game and the runtime load: the pictures and the landing sound into
// <folder>/fx (they go into "fxdata.sbx"), the music into <folder>/stream ("streamdata.sbx").
#pragma once

#include <string>

constexpr const char* kFxFolder = "fx";
constexpr const char* kStreamFolder = "stream";
constexpr const char* kLandingSoundName = "fix.wav";
constexpr const char* kMusicName = "neverone.mp3";

// Creates the two subfolders as needed; false (with a message on stderr) when anything fails.
bool GenerateAssets(const std::string& folder);

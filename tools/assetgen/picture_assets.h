// The game's pictures as drawn canvases with the file names the game loads them by. Each group
// lives in its own file: the play screen's sprites, the menu and title pictures, the five
// backgrounds, and the two fonts.
#pragma once

#include <string>
#include <vector>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/colour.h"

enum class PictureFormat { kBmp24, kPngRgba };

struct PictureAsset {
  std::string name;
  Canvas canvas;
  PictureFormat format = PictureFormat::kBmp24;
};

using PictureList = std::vector<PictureAsset>;

// The seven piece colours, by piece id, with their file names.
struct BlockColour {
  const char* file;
  Rgb base;
};
extern const BlockColour kBlockColours[7];

void AddPlaySprites(PictureList& out);
void AddMenuSprites(PictureList& out);
void AddBackgrounds(PictureList& out);
void AddFontPictures(PictureList& out);

// Every picture, in the order the game loads them (its two fonts first).
PictureList MakeAllPictures();

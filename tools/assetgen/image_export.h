// Writes a drawn picture through the runtime's own writers: 24-bit BMP for the game's sprites
// and fonts, 8-bit RGBA PNG for the runtime's small font.
#pragma once

#include <string>

#include "tools/assetgen/picture_assets.h"

// Writes the picture into folder (which must exist) under its own name; false on failure.
bool WritePicture(const PictureAsset& picture, const std::string& folder);

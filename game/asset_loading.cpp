// Loading the game's assets in their fixed order through the runtime's loaders.
#include "game/asset_loading.h"

#include "core/text_concat.h"
#include "files/file_resolver.h"
#include "media/font_commands.h"
#include "media/graphics_commands.h"
#include "media/image_commands.h"
#include "media/sound.h"

namespace game {

namespace {

constexpr i32 kDigitCount = 10;

void LoadDigits(i32 firstSprite, const char* suffix) {
  for (i32 d = 0; d < kDigitCount; ++d)
    LoadSpriteFile(ConcatIntCString(d, suffix), firstSprite + d);
}

}  // namespace

void LoadGameAssets() {
  DynString general("fxdata.sbx");
  DynString music("streamdata.sbx");
  SetFileResolverBase(general, music);
  SetTransparentColourCommand(0);
  LoadFontFile(DynString("stakkofont.bmp"), kGameFont);
  for (const SpriteFile& file : kSpriteFiles) LoadSpriteFile(DynString(file.name), file.id);
  LoadDigits(kSpriteDigit, "_1.bmp");
  LoadDigits(kSpriteDigitHighlighted, "_2.bmp");
  SetCurrentFont(kGameFont);
  LoadSoundFile(DynString("fix.wav"), kLandingSoundSlot, 0);
  LoadSpriteFile(DynString("koballogo.bmp"), kSpriteSplashLogo);
}

}  // namespace game

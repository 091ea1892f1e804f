// Generation of all assets into the two pack folders.
#include "tools/assetgen/asset_writer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "tools/assetgen/chiptune.h"
#include "tools/assetgen/image_export.h"
#include "tools/assetgen/landing_sound.h"
#include "tools/assetgen/mp3_export.h"
#include "tools/assetgen/picture_assets.h"
#include "tools/assetgen/wave_file.h"

namespace {

bool WriteBytes(const std::string& path, const std::vector<u8>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool Fail(const std::string& what) {
  std::fprintf(stderr, "assetgen: %s\n", what.c_str());
  return false;
}

}  // namespace

bool GenerateAssets(const std::string& folder) {
  const std::string fx = folder + "/" + kFxFolder;
  const std::string stream = folder + "/" + kStreamFolder;
  std::error_code error;
  std::filesystem::create_directories(fx, error);
  std::filesystem::create_directories(stream, error);
  if (!std::filesystem::is_directory(fx) || !std::filesystem::is_directory(stream)) {
    return Fail("cannot create " + fx + " and " + stream);
  }
  for (const PictureAsset& picture : MakeAllPictures()) {
    if (!WritePicture(picture, fx)) return Fail("cannot write " + fx + "/" + picture.name);
  }
  const std::vector<u8> wav = EncodeWav16(SynthesiseLandingSound(), 1, kLandingRate);
  if (!WriteBytes(fx + "/" + kLandingSoundName, wav)) return Fail("cannot write the landing sound");
  const std::vector<u8> mp3 = EncodeMp3(RenderSong(ComposeSong()));
  if (mp3.empty()) return Fail("the MP3 encoder failed");
  if (!WriteBytes(stream + "/" + kMusicName, mp3)) return Fail("cannot write the music");
  return true;
}

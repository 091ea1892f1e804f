// assetgen: draws, synthesises and writes the game's assets. Usage: assetgen OUTPUT_FOLDER
#include <cstdio>

#include "tools/assetgen/asset_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: assetgen OUTPUT_FOLDER\n");
    return 2;
  }
  return GenerateAssets(argv[1]) ? 0 : 1;
}

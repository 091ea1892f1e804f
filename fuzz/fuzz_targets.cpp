// The table of fuzz targets.
#include <iterator>

#include "fuzz/fuzz_target.h"

namespace {

constexpr FuzzTarget kTargets[] = {
    {"bmp_image", FuzzBmpImage},
    {"png_image", FuzzPngImage},
    {"font", FuzzFont},
    {"sbx_pack", FuzzSbxPack},
    {"pack_lzo", FuzzPackLzo},
    {"pack_lzss", FuzzPackLzss},
    {"channel_reads", FuzzChannelReads},
    {"line_file", FuzzLineFile},
    {"ini_store", FuzzIniStore},
    {"game_config", FuzzGameConfig},
    {"game_hiscores", FuzzGameHiscores},
    {"text_model", FuzzTextModel},
    {"http_response", FuzzHttpResponse},
    {"ddd_model", FuzzDddModel},
    {"session_stream", FuzzSessionStream},
    {"scene_file", FuzzSceneFile},
};

}  // namespace

const FuzzTarget* FuzzTargetsBegin() { return std::begin(kTargets); }
const FuzzTarget* FuzzTargetsEnd() { return std::end(kTargets); }

const FuzzTarget* FindFuzzTarget(std::string_view name) {
  for (const FuzzTarget& target : kTargets) {
    if (name == target.name) return &target;
  }
  return nullptr;
}

// LAME over the whole buffer in one go, then its final frames.
#include "tools/assetgen/mp3_export.h"

#include <lame/lame.h>

#include <memory>

namespace {

struct LameCloser {
  void operator()(lame_global_flags* flags) const { lame_close(flags); }
};

}  // namespace

std::vector<u8> EncodeMp3(const StereoBuffer& audio) {
  const size_t frames = audio.left.size();
  if (frames == 0 || audio.right.size() != frames || frames > 0x7FFFFFF) return {};
  std::unique_ptr<lame_global_flags, LameCloser> lame(lame_init());
  if (!lame) return {};
  lame_set_in_samplerate(lame.get(), kMusicRate);
  lame_set_out_samplerate(lame.get(), kMusicRate);
  lame_set_num_channels(lame.get(), 2);
  lame_set_mode(lame.get(), JOINT_STEREO);
  lame_set_brate(lame.get(), 128);
  lame_set_quality(lame.get(), 5);
  lame_set_bWriteVbrTag(lame.get(), 0);
  if (lame_init_params(lame.get()) < 0) return {};
  // LAME's own bound for one call: 1.25 bytes a sample plus 7200.
  std::vector<u8> out(frames + frames / 4 + 7200);
  const int n = static_cast<int>(frames);
  const int written =
      lame_encode_buffer_ieee_float(lame.get(), audio.left.data(), audio.right.data(), n,
                                    out.data(), static_cast<int>(out.size()));
  if (written < 0) return {};
  std::vector<u8> tail(7200);
  const int flushed = lame_encode_flush(lame.get(), tail.data(), static_cast<int>(tail.size()));
  if (flushed < 0) return {};
  out.resize(static_cast<size_t>(written));
  out.insert(out.end(), tail.begin(), tail.begin() + flushed);
  return out;
}

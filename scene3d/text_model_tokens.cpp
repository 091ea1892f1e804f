// Tokens of "DDDA" text models, read byte by byte from a file or a memory block.
#include "scene3d/text_model_tokens.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "files/file_channel.h"

namespace {

// The comment window: a "#" comment ends at the first line feed among the next 512 bytes; a file
// reads that window in blocks of 64 and sets its position back to just after the line feed.
constexpr i32 kCommentWindow = 512;
constexpr std::size_t kCommentBlock = 64;

bool IsSeparator(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The next byte, or -1 at the end of the data.
int NextByte(FileChannel* channel) {
  if (channel->fp != nullptr) {
    const int c = std::fgetc(channel->fp);
    if (c != EOF && channel->pos < INT32_MAX) ++channel->pos;
    return c == EOF ? -1 : c;
  }
  if (channel->memData == nullptr || channel->pos < 0 || channel->pos >= channel->memSize) {
    return -1;
  }
  return channel->memData[channel->pos++];
}

void SkipFileComment(FileChannel* channel) {
  const long start = std::ftell(channel->fp);
  char block[kCommentBlock];
  i32 consumed = 0;
  while (consumed < kCommentWindow) {
    const std::size_t n = std::fread(block, 1, kCommentBlock, channel->fp);
    const void* lf = std::memchr(block, '\n', n);
    if (lf != nullptr) {
      consumed += static_cast<i32>(static_cast<const char*>(lf) - block) + 1;
      break;
    }
    consumed += static_cast<i32>(n);
    if (n < kCommentBlock) break;  // the end of the file ends the comment
  }
  if (start >= 0) std::fseek(channel->fp, start + consumed, SEEK_SET);
  channel->pos = channel->pos > INT32_MAX - consumed ? INT32_MAX : channel->pos + consumed;
}

void SkipComment(FileChannel* channel) {
  if (channel->fp != nullptr) {
    SkipFileComment(channel);
    return;
  }
  const i32 remaining = DddChannelRemaining(channel);
  const i32 window = remaining < kCommentWindow ? remaining : kCommentWindow;
  if (window == 0) return;
  const u8* from = channel->memData + channel->pos;
  const void* lf = std::memchr(from, '\n', static_cast<std::size_t>(window));
  channel->pos += lf != nullptr ? static_cast<i32>(static_cast<const u8*>(lf) - from) + 1 : window;
}

// Numbers are read in the C locale whatever locale the program runs in, so that "1.5" never
// stops at the point.
f32 TokenValue(const char* token) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  const f64 value = cLocale != nullptr ? strtod_l(token, nullptr, cLocale)
                                       : std::strtod(token, nullptr);
  return static_cast<f32>(value);
}

}  // namespace

i32 DddChannelRemaining(const FileChannel* channel) {
  if (channel == nullptr || channel->pos >= channel->memSize) return 0;
  return channel->memSize - (channel->pos < 0 ? 0 : channel->pos);
}

f32 ReadDddToken(char* tokenBuffer, FileChannel* channel) {
  // Separators before the token are not stored, so any number of them fits the buffer.
  i32 length = 0;
  bool begun = false;
  for (int c; channel != nullptr && (c = NextByte(channel)) >= 0;) {
    if (c == '#') {
      SkipComment(channel);
      if (begun) break;
    } else if (IsSeparator(c)) {
      if (begun) break;
    } else {
      begun = true;
      if (length < kDddTokenBufferBytes - 1) tokenBuffer[length++] = static_cast<char>(c);
    }
  }
  tokenBuffer[length] = '\0';
  return begun ? TokenValue(tokenBuffer) : 0.0f;
}

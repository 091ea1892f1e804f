// Reading and writing "Hiscores.dat" over channel 0. The file is read whole and checked entry by
// entry before any entry of the list changes.
#include "game/hiscore_file.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "core/byte_order.h"
#include "files/channel_table.h"
#include "game/channel_bytes.h"
#include "game/damaged_file.h"
#include "game/game_globals.h"
#include "game/hiscore_table.h"

namespace game {

namespace {

// The longest name (without its line end) that one channel line read returns whole. Every name
// the list can hold after a read is written back within it, so what was read reads again.
constexpr i32 kMaxName = kLineBytes;
// The most any entry can take: score, name, CR LF, level.
constexpr i32 kMaxEntryBytes = 4 + kMaxName + 2 + 2;

constexpr const char* kHiscoreFile = "Hiscores.dat";

DynString HiscoreFileName() { return DynString::FromCString(kHiscoreFile); }

// Reads entries from bytes, front to back; false when the bytes end early or a name line is
// longer than a channel line.
class EntryReader {
 public:
  explicit EntryReader(const std::string& bytes) : bytes_(bytes) {}

  bool Read(HiscoreEntry& entry) {
    if (Left() < 4) return false;
    entry.score = static_cast<i32>(ReadLE32(At()));
    pos_ += 4;
    if (!ReadName(entry.name)) return false;
    if (Left() < 2) return false;
    entry.level = static_cast<i16>(ReadLE16(At()));
    pos_ += 2;
    return true;
  }

 private:
  std::size_t Left() const { return bytes_.size() - pos_; }
  const u8* At() const { return reinterpret_cast<const u8*>(bytes_.data()) + pos_; }

  // The line up to its LF, without the LF and a CR before it, and up to a zero byte within it,
  // as a channel line read gives it.
  bool ReadName(DynString& name) {
    const std::size_t lf = bytes_.find('\n', pos_);
    if (lf == std::string::npos) return false;
    std::size_t length = lf - pos_;
    if (length > 0 && bytes_[pos_ + length - 1] == '\r') --length;
    if (length > static_cast<std::size_t>(kMaxName)) return false;
    const char* text = bytes_.data() + pos_;
    length = strnlen(text, length);
    name = DynString::FromBytes(text, static_cast<u32>(length));
    pos_ = lf + 1;
    return true;
  }

  const std::string& bytes_;
  std::size_t pos_ = 0;
};

bool ParseEntries(const std::string& bytes, i32 count, std::vector<HiscoreEntry>& entries) {
  EntryReader reader(bytes);
  for (i32 i = 0; i < count; ++i) {
    HiscoreEntry entry;
    if (!reader.Read(entry)) return false;
    entries.push_back(entry);
  }
  return true;
}

}  // namespace

void LoadHiscores(i32 count) {
  if (OpenFileChannel(kGameFileChannel, HiscoreFileName(), kChannelRead) != 1) {
    SaveHiscores(count);
    return;
  }
  const i32 entryCount = count < 0 ? 0 : count;
  const i64 maxBytes = static_cast<i64>(entryCount) * kMaxEntryBytes;
  const i32 readLimit = static_cast<i32>(std::min<i64>(maxBytes, kMaxSmallFileBytes));
  const std::optional<std::string> bytes = ReadChannelBytes(kGameFileChannel, readLimit);
  CloseChannel(kGameFileChannel);
  std::vector<HiscoreEntry> entries;
  if (!bytes || !ParseEntries(*bytes, entryCount, entries)) {
    KeepDamagedFile(kHiscoreFile);
    SaveHiscores(count);
    return;
  }
  for (i32 i = 0; i < entryCount; ++i) hiscores.At(i) = entries[static_cast<std::size_t>(i)];
  SortHiscoreList();
}

void SaveHiscores(i32 count) {
  // The channel layer has already said why when the file cannot be created.
  if (OpenFileChannel(kGameFileChannel, HiscoreFileName(), kChannelWrite) != 1) return;
  for (i32 i = 0; i < count; ++i) {
    const HiscoreEntry& entry = hiscores.At(i);
    WriteChannelInt32(kGameFileChannel, entry.score);
    WriteChannelLine(kGameFileChannel, entry.name);
    WriteChannelInt16(kGameFileChannel, entry.level);
  }
  CloseChannel(kGameFileChannel);
}

}  // namespace game

// .sbx packs and the pack codec over hostile bytes.
//
// sbx_pack: the input is a whole pack. A few names are resolved through it twice: with the pack
// given as a memory block and the entry handed out in memory, and with the pack as a file and the
// entry unpacked into a temporary file. Both ways must find the same entries with the same bytes.
//
// pack_lzo and pack_lzss: the input is a packed stream. Whatever the decoder accepts must survive
// a round trip through the encoder of the same format; pack_lzss also packs the input itself.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "core/dyn_string.h"
#include "core/runtime_globals.h"
#include "files/file_channel.h"
#include "files/file_resolver.h"
#include "files/pack_codec.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_target.h"

namespace {

// Names the seeds' packs hold, in the forms programs ask for them, and one they never hold. They
// are looked up in the private folder, so no file of the machine is found before the pack.
constexpr const char* kNames[] = {"a.txt", "gfx\\Title.PNG", "data/empty.bin", "missing.dat"};

void SetPacks(const std::string& general, const std::string& music) {
  DynString g(general.c_str()), m(music.c_str());
  SetFileResolverBase(g, m);
}

// The bytes behind a resolved name, read the way every loader reads them.
std::optional<std::string> ReadResolved(const char* path) {
  FileChannel channel;
  if (!OpenFileChannelRead(&channel, path)) return std::nullopt;
  std::string bytes;
  if (channel.fp != nullptr) {
    bytes = ReadWholeFile(path).value_or("");
  } else {
    bytes.assign(reinterpret_cast<const char*>(channel.memData),
                 static_cast<std::size_t>(channel.memSize));
  }
  CloseFileChannel(&channel);
  return bytes;
}

std::string Bytes(const PackCodec& codec) {
  return std::string(reinterpret_cast<const char*>(codec.out),
                     static_cast<std::size_t>(codec.outLength));
}

// The codecs are large (their match table alone is 256 KB), so each role keeps one for the whole
// run, put back into the state of a new one before every use: a stream that refers to bytes
// before its start must read what a new codec holds there, whatever ran before.
enum Role { kDecoder, kPacker, kUnpacker, kRoleCount };

PackCodec& Codec(Role role, i32 mode) {
  static std::unique_ptr<PackCodec> codecs[kRoleCount];
  if (!codecs[role]) codecs[role] = std::make_unique<PackCodec>();
  PackCodec& codec = *codecs[role];
  codec.FreeOutput();
  std::fill(std::begin(codec.ring), std::end(codec.ring), 0);
  codec.mode = mode;
  return codec;
}

// Packs the bytes in the codec's format and unpacks them again: the same bytes must come back.
void CheckRoundTrip(i32 mode, const std::string& bytes) {
  PackCodec& packer = Codec(kPacker, mode);
  packer.Compress(reinterpret_cast<const u8*>(bytes.data()), static_cast<i32>(bytes.size()));
  FUZZ_CHECK(packer.Succeeded(), "packing failed");
  PackCodec& unpacker = Codec(kUnpacker, mode);
  unpacker.Decompress(packer.out, packer.outLength);
  FUZZ_CHECK(unpacker.Succeeded(), "a packed stream does not unpack");
  FUZZ_CHECK(Bytes(unpacker) == bytes, "the round trip changed the bytes");
}

// Decodes the input in the mode; returns the bytes when the stream was complete and valid.
std::optional<std::string> Decode(i32 mode, const u8* data, std::size_t size) {
  const MemoryFile stream(data, size);  // exactly sized, so an overread is caught
  PackCodec& codec = Codec(kDecoder, mode);
  const u32 length = codec.Decompress(stream.Data(), static_cast<i32>(size));
  if (!codec.Succeeded()) return std::nullopt;
  FUZZ_CHECK(length == static_cast<u32>(codec.outLength), "result and output length differ");
  return Bytes(codec);
}

}  // namespace

void FuzzSbxPack(const u8* data, std::size_t size) {
  BeginFuzzInput();
  const MemoryFile pack(data, size);
  const std::string packFile = WriteFuzzFile("pack.sbx", data, size);
  SetPacks(pack.Name(), packFile);
  for (const char* leaf : kNames) {
    const std::string path = FuzzPath(leaf);
    const char* name = path.c_str();
    char inMemory[kResolvedPathSize], inFile[kResolvedPathSize];
    std::strcpy(inMemory, name);
    std::strcpy(inFile, name);
    const int viaMemory = ResolveFile(generalResolver, name, inMemory, true);
    const int viaFile = ResolveFile(musicResolver, name, inFile, false);
    FUZZ_CHECK(viaMemory == viaFile, "the pack resolves one way only");
    if (!viaMemory) continue;
    const std::optional<std::string> fromMemory = ReadResolved(inMemory);
    const std::optional<std::string> fromFile = ReadResolved(inFile);
    FUZZ_CHECK(fromMemory && fromFile, "a resolved name does not open");
    FUZZ_CHECK(*fromMemory == *fromFile, "memory and file entries differ");
  }
  // Unpacked blocks and temporary files go with the packs.
  SetPacks("", "");
}

void FuzzPackLzo(const u8* data, std::size_t size) {
  BeginFuzzInput();
  const std::optional<std::string> bytes = Decode(1, data, size);
  if (bytes) CheckRoundTrip(1, *bytes);
}

void FuzzPackLzss(const u8* data, std::size_t size) {
  BeginFuzzInput();
  const std::optional<std::string> bytes = Decode(0, data, size);
  if (bytes) CheckRoundTrip(0, *bytes);
  CheckRoundTrip(0, std::string(reinterpret_cast<const char*>(data), size));
}

// sbxpack: packs files into a .sbx pack that the runtime's file resolver reads.
#include "tools/sbxpack/pack_builder.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

#include "core/byte_order.h"
#include "files/ascii_case.h"
#include "files/pack_codec.h"
#include "files/pack_reader.h"

namespace {

constexpr u64 kMaxOffset = std::numeric_limits<i32>::max();

struct PackedEntry {
  const PackInput* input;
  u64 offset;  // from the start of the pack
  std::vector<u8> packed;
};

std::string CheckInputs(const std::vector<PackInput>& inputs) {
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const std::string& name = inputs[i].name;
    if (name.empty() || name.size() > 255) return "entry name must have 1 to 255 bytes: " + name;
    if (name.find_first_of(std::string("/\\\0", 3)) != std::string::npos) {
      return "entry name must be a bare file name: " + name;
    }
    if (inputs[i].bytes.size() > PackCodec::kMaxUnpackedBytes) return "file too large: " + name;
    for (std::size_t j = 0; j < i; ++j) {
      // The resolver takes the first of equal names; a second one could never be read.
      if (EqualsIgnoringAsciiCase(inputs[j].name, name)) return "duplicate entry name: " + name;
    }
  }
  return "";
}

void AppendLE32(std::vector<u8>& bytes, u32 value) {
  u8 field[4];
  WriteLE32(field, value);
  bytes.insert(bytes.end(), field, field + 4);
}

// A position in the file as the resolver reads it: from the start, or negative from the end.
i32 StoredOffset(u64 positionInFile, u64 fileSize, bool fromEnd) {
  if (fromEnd)
    return static_cast<i32>(static_cast<i64>(positionInFile) - static_cast<i64>(fileSize));
  return static_cast<i32>(positionInFile);
}

bool ReadWholeFile(const std::string& path, std::vector<u8>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

int Usage() {
  std::fprintf(
      stderr,
      "usage: sbxpack [--append] OUTPUT FILE...\n"
      "  Packs each FILE under its bare file name into the .sbx pack OUTPUT.\n"
      "  --append  add the pack to the end of an existing OUTPUT (offsets from the end)\n");
  return 2;
}

}  // namespace

PackBuildResult BuildPack(const std::vector<PackInput>& inputs, u64 prefixSize, bool fromEnd) {
  PackBuildResult result;
  result.error = CheckInputs(inputs);
  if (!result.error.empty()) return result;

  PackCodec codec;
  codec.mode = 1;
  std::vector<PackedEntry> entries;
  u64 dataSize = 0;
  for (const PackInput& input : inputs) {
    codec.Compress(input.bytes.data(), static_cast<i32>(input.bytes.size()));
    if (!codec.Succeeded()) {
      result.error = "cannot compress: " + input.name;
      return result;
    }
    entries.push_back({&input, dataSize, std::vector<u8>(codec.out, codec.out + codec.outLength)});
    dataSize += static_cast<u64>(codec.outLength);
  }
  u64 directorySize = 1;
  for (const PackedEntry& e : entries) directorySize += 1 + e.input->name.size() + 8;
  const u64 fileSize = prefixSize + dataSize + directorySize + kPackTrailerSize;
  if (fileSize > kMaxOffset) {
    result.error = "pack too large";
    return result;
  }

  std::vector<u8>& bytes = result.bytes;
  bytes.reserve(static_cast<std::size_t>(fileSize - prefixSize));
  for (const PackedEntry& e : entries) bytes.insert(bytes.end(), e.packed.begin(), e.packed.end());
  for (const PackedEntry& e : entries) {
    bytes.push_back(static_cast<u8>(e.input->name.size()));
    bytes.insert(bytes.end(), e.input->name.begin(), e.input->name.end());
    AppendLE32(bytes, static_cast<u32>(StoredOffset(prefixSize + e.offset, fileSize, fromEnd)));
    AppendLE32(bytes, static_cast<u32>(e.packed.size()));
  }
  bytes.push_back(0);
  bytes.insert(bytes.end(), std::begin(kPackMagic), std::end(kPackMagic));
  AppendLE32(bytes, static_cast<u32>(StoredOffset(prefixSize + dataSize, fileSize, fromEnd)));
  result.ok = true;
  return result;
}

int RunSbxPack(int argc, const char* const* argv) {
  int arg = 1;
  bool append = false;
  if (arg < argc && std::strcmp(argv[arg], "--append") == 0) {
    append = true;
    ++arg;
  }
  if (argc - arg < 2) return Usage();
  const std::string output = argv[arg++];

  std::vector<PackInput> inputs;
  for (; arg < argc; ++arg) {
    PackInput input{PackEntryName(argv[arg]), {}};
    if (!ReadWholeFile(argv[arg], input.bytes)) {
      std::fprintf(stderr, "sbxpack: cannot read %s\n", argv[arg]);
      return 1;
    }
    inputs.push_back(std::move(input));
  }
  std::vector<u8> existing;
  if (append && !ReadWholeFile(output, existing)) {
    std::fprintf(stderr, "sbxpack: cannot read %s\n", output.c_str());
    return 1;
  }
  const PackBuildResult pack = BuildPack(inputs, existing.size(), append);
  if (!pack.ok) {
    std::fprintf(stderr, "sbxpack: %s\n", pack.error.c_str());
    return 1;
  }
  std::ofstream out(output, append ? std::ios::binary | std::ios::app : std::ios::binary);
  out.write(reinterpret_cast<const char*>(pack.bytes.data()),
            static_cast<std::streamsize>(pack.bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "sbxpack: cannot write %s\n", output.c_str());
    return 1;
  }
  return 0;
}

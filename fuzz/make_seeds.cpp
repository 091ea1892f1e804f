// fuzz_seeds: writes the starting corpus of every fuzz target, made by the project's own writers
// (the BMP, PNG, pack, codec, channel, line-file, INI and game-file writers, the .ddd model
// writer, and the fuzzing's text model writer) so that each seed is a file the project itself
// produces; variants the writers never make (other BMP depths, PNG colour types, the quantised
// .ddd layout) are derived from their output field by field, written by a few lines here, or
// written through libpng. HTTP responses, which the runtime only reads, are written out as a
// server would send them; session streams are made by the session's packet encoder; scenes are a
// signature line before the INI writer's sections.
//
//   fuzz_seeds FOLDER   writes FOLDER/<target>/seed-<what> for every target
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/byte_order.h"
#include "core/dyn_string.h"
#include "files/channel_table.h"
#include "files/ini_store.h"
#include "files/line_file.h"
#include "files/pack_codec.h"
#include "fuzz/text_model_writer.h"
#include "game/config_file.h"
#include "game/game_globals.h"
#include "game/hiscore_file.h"
#include "game/hiscore_table.h"
#include "media/bmp_image.h"
#include "media/builtin_font.h"
#include "media/png_image.h"
#include "net/net_packet.h"
#include "scene3d/ddd_model_format.h"
#include "scene3d/mesh_model.h"
#include "scene3d/text_model_reader.h"
#include "tools/sbxpack/pack_builder.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::string;

fs::path outFolder;

void Save(const char* target, const std::string& what, const Bytes& bytes) {
  const fs::path folder = outFolder / target;
  fs::create_directories(folder);
  std::ofstream out(folder / ("seed-" + what), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadBack(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::remove(path.c_str());
  return bytes;
}

Bytes LE16(u32 v) {
  u8 b[2];
  WriteLE16(b, v);
  return Bytes(reinterpret_cast<char*>(b), 2);
}

Bytes LE32(u32 v) {
  u8 b[4];
  WriteLE32(b, v);
  return Bytes(reinterpret_cast<char*>(b), 4);
}

// A w x h test picture as R, G, B, A: a gradient with a magenta corner (the targets' colour key)
// and a half-transparent column.
std::vector<u8> TestPicture(i32 w, i32 h) {
  std::vector<u8> rgba(static_cast<std::size_t>(w) * h * 4);
  for (i32 y = 0; y < h; ++y) {
    for (i32 x = 0; x < w; ++x) {
      u8* p = &rgba[(static_cast<std::size_t>(y) * w + x) * 4];
      const bool magenta = x == 0 && y == 0;
      p[0] = magenta ? 255 : static_cast<u8>(x * 40);
      p[1] = magenta ? 0 : static_cast<u8>(y * 60);
      p[2] = magenta ? 255 : static_cast<u8>((x + y) * 20);
      p[3] = x == w - 1 ? 128 : 255;
    }
  }
  return rgba;
}

// --- BMP ---

Bytes Bmp24(i32 w, i32 h, const std::vector<u8>& rgba) {
  const i32 rowBytes = Bmp24RowBytes(w);
  std::vector<u8> rows(static_cast<std::size_t>(rowBytes) * h, 0);
  for (i32 y = 0; y < h; ++y) {
    for (i32 x = 0; x < w; ++x) {
      const u8* p = &rgba[(static_cast<std::size_t>(y) * w + x) * 4];
      u8* q = &rows[static_cast<std::size_t>(h - 1 - y) * rowBytes + x * 3];
      q[0] = p[2], q[1] = p[1], q[2] = p[0];
    }
  }
  SaveBmp24("seed.bmp", w, h, rows.data());
  return ReadBack("seed.bmp");
}

// The writer's header with another depth, a palette and rows of the caller's.
Bytes BmpWithDepth(i32 w, i32 h, i32 bits, const Bytes& palette, const Bytes& rows) {
  u8 header[kBmpHeaderBytes];
  EncodeBmp24Header(header, w, h);
  WriteLE16(header + 28, static_cast<u32>(bits));
  WriteLE32(header + 10, static_cast<u32>(kBmpHeaderBytes + palette.size()));
  WriteLE32(header + 2, static_cast<u32>(kBmpHeaderBytes + palette.size() + rows.size()));
  return Bytes(reinterpret_cast<char*>(header), sizeof header) + palette + rows;
}

// A 32-bit bit-field file with the usual red, green and blue masks ahead of its rows.
Bytes BmpBitFields(i32 w, i32 h, const Bytes& rows) {
  const Bytes masks = LE32(0x00FF0000) + LE32(0x0000FF00) + LE32(0x000000FF);
  return BmpWithDepth(w, h, 32, masks, rows).replace(30, 4, LE32(3));
}

// The 12-byte header form: u16 width and height, then a 3-byte palette.
Bytes BmpCoreHeader(u16 w, u16 h, u16 bits, const Bytes& palette, const Bytes& rows) {
  Bytes file = "BM" + LE32(0) + LE32(0) + LE32(static_cast<u32>(26 + palette.size())) + LE32(12);
  return file + LE16(w) + LE16(h) + LE16(1) + LE16(bits) + palette + rows;
}

Bytes Palette(int entries, int entryBytes) {
  Bytes palette;
  for (int i = 0; i < entries; ++i) {
    const char entry[4] = {static_cast<char>(i * 37), static_cast<char>(255 - i * 17),
                           static_cast<char>(i * 91), 0};
    palette.append(entry, static_cast<std::size_t>(entryBytes));
  }
  return palette;
}

Bytes Pattern(std::size_t n, u8 step) {
  Bytes bytes(n, '\0');
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>(i * step + 3);
  return bytes;
}

void BmpSeeds() {
  Save("bmp_image", "24bit-5x3", Bmp24(5, 3, TestPicture(5, 3)));
  Save("bmp_image", "1bit-12x2", BmpWithDepth(12, 2, 1, Palette(2, 4), Pattern(8, 0x55)));
  Save("bmp_image", "4bit-5x3", BmpWithDepth(5, 3, 4, Palette(16, 4), Pattern(12, 0x13)));
  Save("bmp_image", "8bit-3x2", BmpWithDepth(3, 2, 8, Palette(4, 4), Pattern(8, 1)));
  Save("bmp_image", "32bit-top-down", BmpWithDepth(3, -2, 32, "", Pattern(24, 7)));
  Save("bmp_image", "32bit-bit-fields", BmpBitFields(4, 2, Pattern(32, 5)));
  Save("bmp_image", "core-8bit", BmpCoreHeader(3, 2, 8, Palette(256, 3), Pattern(8, 1)));
  Save("bmp_image", "core-24bit", BmpCoreHeader(2, 2, 24, "", Pattern(16, 9)));
}

// --- PNG ---

struct PngLayout {
  u32 width, height;
  int depth, colourType, interlace;
  bool transparency;
};

int ChannelsOf(int colourType) {
  switch (colourType) {
    case PNG_COLOR_TYPE_RGB:
      return 3;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      return 2;
    case PNG_COLOR_TYPE_RGB_ALPHA:
      return 4;
    default:
      return 1;
  }
}

// The libpng calls, in a function whose locals are all trivial (libpng unwinds by longjmp).
int WritePngFile(std::FILE* fp, const PngLayout& layout, png_bytepp rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return 0;
  }
  png_init_io(png, fp);
  png_set_IHDR(png, info, layout.width, layout.height, layout.depth, layout.colourType,
               layout.interlace, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color palette[4] = {{255, 0, 255}, {10, 20, 30}, {200, 100, 0}, {0, 0, 0}};
  png_byte alpha[4] = {0, 128, 255, 255};
  png_color_16 grey = {};
  const bool paletted = layout.colourType == PNG_COLOR_TYPE_PALETTE;
  if (paletted) png_set_PLTE(png, info, palette, 4);
  if (layout.transparency) png_set_tRNS(png, info, alpha, paletted ? 4 : 0, &grey);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return 1;
}

// A PNG of any layout through libpng, its rows made of a pattern (palette indexes stay below 4).
Bytes PngThroughLibpng(u32 w, u32 h, int depth, int colourType, int interlace, bool trns) {
  const PngLayout layout{w, h, depth, colourType, interlace, trns};
  const std::size_t rowBytes = (std::size_t{w} * ChannelsOf(colourType) * depth + 7) / 8;
  std::vector<png_byte> pixels(rowBytes * h);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    pixels[i] =
        static_cast<png_byte>(colourType == PNG_COLOR_TYPE_PALETTE ? (i * 0x1B) & 0x55 : i * 29);
  }
  std::vector<png_bytep> rows(h);
  for (u32 y = 0; y < h; ++y) rows[y] = &pixels[y * rowBytes];
  std::FILE* fp = std::fopen("seed.png", "wb");
  if (fp == nullptr) return "";
  const int written = WritePngFile(fp, layout, rows.data());
  std::fclose(fp);
  const Bytes bytes = ReadBack("seed.png");
  return written ? bytes : "";
}

// The runtime's own writer: 8-bit RGBA from B, G, R, A pixels.
Bytes PngFromWriter(i32 w, i32 h, const std::vector<u8>& rgba) {
  std::vector<u8> bgra(rgba);
  for (std::size_t i = 0; i < bgra.size(); i += 4) std::swap(bgra[i], bgra[i + 2]);
  SavePng("seed.png", bgra.data(), w, h);
  return ReadBack("seed.png");
}

void PngSeeds() {
  Save("png_image", "rgba-writer", PngFromWriter(5, 3, TestPicture(5, 3)));
  Save("png_image", "rgb",
       PngThroughLibpng(4, 3, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, false));
  Save("png_image", "rgb-interlaced",
       PngThroughLibpng(9, 9, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_ADAM7, false));
  Save("png_image", "palette-trns",
       PngThroughLibpng(6, 2, 2, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, true));
  Save("png_image", "grey-1bit",
       PngThroughLibpng(17, 2, 1, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, false));
  Save("png_image", "grey-16bit",
       PngThroughLibpng(3, 3, 16, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, false));
  Save("png_image", "grey-trns",
       PngThroughLibpng(3, 3, 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, true));
  Save("png_image", "grey-alpha",
       PngThroughLibpng(2, 2, 8, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_INTERLACE_NONE, false));
  Save("png_image", "rgba-16bit",
       PngThroughLibpng(2, 2, 16, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, false));
}

// --- fonts ---

// The font target's leading choices: picture kind, x, y, blend, the text.
Bytes FontChoices(u8 kind, i16 x, i16 y, i8 blend, const std::string& text) {
  return Bytes(1, static_cast<char>(kind)) + LE16(static_cast<u16>(x)) + LE16(static_cast<u16>(y)) +
         Bytes(1, static_cast<char>(blend)) + Bytes(1, static_cast<char>(text.size())) + text;
}

void FontSeeds() {
  OwnedRgbaImage builtin;
  BuildDefaultFontBitmap(builtin.image);
  const std::vector<u8> rgba(builtin.image.rgba, builtin.image.rgba + 128 * 64 * 4);
  Save("font", "builtin-png", FontChoices(0, 2, 3, 0, "Hi!") + PngFromWriter(128, 64, rgba));
  Save("font", "tall-bmp",
       FontChoices(0, -4, 20, -60,
                   "\x01\xff"
                   "AB") +
           Bmp24(16, 32, TestPicture(16, 32)));
  Save("font", "raw-wide",
       FontChoices(1, 40, -2, 50, "xyz") + LE16(40000) + LE16(6) + Pattern(64, 5));
  Save("font", "raw-small",
       FontChoices(1, 0, 0, 0, "0123") + LE16(32) + LE16(16) + Pattern(128, 3));
}

// --- packs and the codec ---

std::vector<u8> Vec(const std::string& s) { return std::vector<u8>(s.begin(), s.end()); }

Bytes Packed(i32 mode, const std::string& bytes) {
  PackCodec codec;
  codec.mode = mode;
  codec.Compress(reinterpret_cast<const u8*>(bytes.data()), static_cast<i32>(bytes.size()));
  return Bytes(reinterpret_cast<char*>(codec.out), static_cast<std::size_t>(codec.outLength));
}

const std::string kText = "line one\r\nline two\r\n" + std::string(40, 'z') + "\r\nend";

void PackSeeds() {
  const std::vector<PackInput> inputs = {{"a.txt", Vec(kText)},
                                         {"title.png", Vec(PngFromWriter(2, 2, TestPicture(2, 2)))},
                                         {"EMPTY.BIN", {}}};
  const PackBuildResult plain = BuildPack(inputs, 0, false);
  Save("sbx_pack", "three-entries", Bytes(plain.bytes.begin(), plain.bytes.end()));
  const std::string prefix = "an executable comes first";
  const PackBuildResult appended = BuildPack(inputs, prefix.size(), true);
  Save("sbx_pack", "appended", prefix + Bytes(appended.bytes.begin(), appended.bytes.end()));

  for (const i32 mode : {1, 0}) {
    const char* target = mode == 1 ? "pack_lzo" : "pack_lzss";
    Save(target, "text", Packed(mode, kText));
    Save(target, "runs",
         Packed(mode, std::string(300, 'a') + std::string(5, 'b') + std::string(3000, 'a')));
    Save(target, "empty", Packed(mode, ""));
    Save(target, "pattern", Packed(mode, Pattern(2500, 7) + Pattern(2500, 7)));
  }
}

// --- channels ---

// One operation of the channel target's program.
Bytes Operation(u8 k, i16 argument) {
  return Bytes(1, static_cast<char>(k)) + LE16(static_cast<u16>(argument));
}

void ChannelSeeds() {
  DynString name("seed.bin");
  OpenFileChannel(0, name, 0);
  WriteChannelInt8(0, 200);
  WriteChannelInt16(0, -2);
  WriteChannelUInt16(0, 65535);
  WriteChannelInt32(0, 258);
  WriteChannelFloat32(0, 1.5f);
  WriteChannelFloat64(0, 1.0f);
  WriteChannelString(0, DynString("hello"));
  WriteChannelLine(0, DynString("a line"));
  i32 number = -42;
  f32 real = 2.5f;
  WriteChannelLineInt(0, number);
  WriteChannelLineFloat(0, real);
  CloseChannel(0);
  const Bytes file = ReadBack("seed.bin");

  // Reads everything back in order, then seeks about and reads past the end.
  const Bytes program = Bytes(1, 15) + Operation(0, 0) + Operation(2, 0) + Operation(3, 0) +
                        Operation(4, 0) + Operation(6, 0) + Operation(7, 0) + Operation(8, 5) +
                        Operation(9, 0) + Operation(10, 0) + Operation(11, 0) + Operation(0x0C, 0) +
                        Operation(9, 0) + Operation(0x2C, -3) + Operation(8, 100) +
                        Operation(0xF4, 0);
  Save("channel_reads", "values-and-lines", program + file);
  Save("channel_reads", "lines-only",
       Bytes(1, 4) + Operation(9, 0) + Operation(9, 0) + Operation(10, 0) + Operation(9, 0) +
           "a\r\n\nb\r\n" + std::string(1100, 'L') + "\n");
}

// --- line file and INI store ---

void TextStoreSeeds() {
  const char* lines = "seed.txt";
  WriteFileLineAt(lines, 0, DynString("first"));
  WriteFileLineAt(lines, 2, DynString("third\t"));
  WriteFileLineAt(lines, 3, DynString(std::string(1024, 'w').c_str()));
  WriteFileLineAt(lines, 4, DynString("3.25"));
  OpenLineFile(lineFile, nullptr);
  Save("line_file", "written", ReadBack(lines));
  Save("line_file", "mixed-endings", "a\r\nb\nc\r\r\n" + std::string(1500, 'L') + "\nend");

  IniFile store;
  store.name = DynString("seed.ini");
  auto set = [&](const char* s, const char* k, const char* v) {
    SetIniValue(&store, DynString(s), DynString(k), DynString(v));
  };
  set("", "x", "1");
  set("Video", "Width", "320 ; px");
  set("Video", "Height", "240");
  set("audio", "vol", "8");
  set("Name With]Bracket", "=", "value");
  WriteIniFile(&store);
  Save("ini_store", "written", ReadBack("seed.ini"));
  Save("ini_store", "loose",
       "x=1\r\n[Video]\r\n  Width = 320 ; px\r\n;c\r\n[audio\r\nvol=8\t\r\n"
       "[]\r\nmute=0\r\n[Video]\r\nHeight=240\r\nkey\r\n=novalue\r\n");
}

// --- the game's files ---

void GameSeeds() {
  game::InitGameGlobals();
  game::musicVolume = 0.9f;
  game::SaveConfig();
  Save("game_config", "written", ReadBack("Config.dat"));
  game::LoadDefaultHiscores();
  game::hiscores.At(2).name = DynString("ABCDEFGH");
  game::hiscores.At(2).level = 11;
  game::SaveHiscores(5);
  Save("game_hiscores", "written", ReadBack("Hiscores.dat"));
  game::InitGameGlobals();
}

// --- text models ---

void AddPolygon(DddTextReader& model, i32 red, i32 green, i32 blue, std::vector<i32> corners) {
  DddTextPolygon polygon;
  polygon.red = red, polygon.green = green, polygon.blue = blue;
  for (const i32 corner : corners) {
    polygon.vertexIndices.Append(corner);
    polygon.uvIndices.Append(corner % std::max(model.uvs.count, 1));
  }
  model.polygons.Append(polygon);
}

// A frame of the given corners, each with its direction from the origin as its normal.
void AddFrame(DddTextReader& model, const std::vector<DddTextVertex>& corners) {
  DddTextFrame frame;
  for (DddTextVertex v : corners) {
    const f32 length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length > 0) v.nx = v.x / length, v.ny = v.y / length, v.nz = v.z / length;
    frame.vertices.Append(v);
  }
  model.frames.Append(frame);
}

void TextModelSeeds() {
  DddTextReader triangle;
  for (const DddTextUv uv : {DddTextUv{0, 0}, DddTextUv{1, 0}, DddTextUv{0, 1}}) {
    triangle.uvs.Append(uv);
  }
  AddPolygon(triangle, 255, 0, 0, {0, 1, 2});
  AddFrame(triangle, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
  const std::string written = WriteDddText(triangle);
  Save("text_model", "triangle", written);
  Save("text_model", "triangle-cut", written.substr(0, written.size() * 2 / 3));

  // A cube in two frames (the second one stretched), coloured faces, CR LF lines and comments.
  DddTextReader cube;
  for (const DddTextUv uv : {DddTextUv{0, 0}, DddTextUv{1, 0}, DddTextUv{1, 1}, DddTextUv{0, 1}}) {
    cube.uvs.Append(uv);
  }
  const std::vector<std::vector<i32>> faces = {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1},
                                               {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};
  for (std::size_t f = 0; f < faces.size(); ++f) {
    AddPolygon(cube, static_cast<i32>(f * 40), 255 - static_cast<i32>(f * 30), 300, faces[f]);
  }
  for (const f32 stretch : {1.0f, 2.5f}) {
    std::vector<DddTextVertex> corners;
    for (i32 i = 0; i < 8; ++i) {
      corners.push_back({i & 1 ? stretch : -stretch, i & 2 ? 1.0f : -1.0f, i & 4 ? 1.0f : -1.0f});
    }
    AddFrame(cube, corners);
  }
  Save("text_model", "cube-two-frames", WriteDddText(cube, {true, "\r\n", true}));

  // A hexagon fan without texture coordinates or normals.
  DddTextReader fan;
  AddPolygon(fan, -1, 128, 256, {0, 1, 2, 3, 4, 5, 6});
  std::vector<DddTextVertex> hexagon = {{0, 0, 0}};
  for (i32 i = 0; i < 6; ++i) hexagon.push_back({std::cos(i * 1.0472f), std::sin(i * 1.0472f), 0});
  AddFrame(fan, hexagon);
  Save("text_model", "fan-without-normals", WriteDddText(fan, {false, "\n", false}));
}

// --- HTTP responses ---

// The HTTP target's leading choices: the text's maximum length and the piece length.
Bytes HttpChoices(i32 maxLength, u8 piece) {
  return LE16(static_cast<u32>(maxLength + 8)) + Bytes(1, static_cast<char>(piece));
}

void HttpSeeds() {
  const Bytes header =
      "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 11\r\n\r\n";
  Save("http_response", "crlf", HttpChoices(100, 0) + header + "hello world");
  Save("http_response", "bare-lf-small-pieces",
       HttpChoices(4, 3) + "HTTP/1.0 200 OK\nA: b\n\nbody text");
  Save("http_response", "zero-byte", HttpChoices(50, 7) + "\r\n\r\nab" + Bytes(1, '\0') + "cd");
  Save("http_response", "header-fills-a-chunk",
       HttpChoices(-3, 0) + "HTTP/1.0 404 Not Found\r\nX: " + Bytes(992, 'x') + "\r\n\r\n" +
           Pattern(2100, 11));
  Save("http_response", "no-blank-line", HttpChoices(10, 1) + "HTTP/1.0 200 OK\r\nX: y\r\n\r");
}

// --- binary models ---

// A vertex on the unit sphere's grid, its normal pointing outwards.
MeshVertex ModelVertex(f32 x, f32 y, f32 z, u32 colour, f32 u, f32 v) {
  MeshVertex vertex;
  vertex.x = x, vertex.y = y, vertex.z = z;
  vertex.nx = x, vertex.ny = y, vertex.nz = z;
  vertex.u = u, vertex.v = v;
  vertex.SetColour(colour);
  return vertex;
}

Bytes SavedModel(MeshObject& mesh) {
  mesh.BuildColourTable();
  SaveDdd(&mesh, "seed.ddd");
  return ReadBack("seed.ddd");
}

// The quantised layout, which the runtime reads but no longer writes: version 1.5, two colours,
// two uv pairs, one frame of a separator and three corners.
Bytes QuantisedModel() {
  auto f32Bytes = [](f32 v) { return LE32(F32ToBits(v)); };
  u8 version[8];
  WriteLE64(version, F64ToBits(1.5));
  Bytes file = LE32(kDddMagic) + Bytes(reinterpret_cast<char*>(version), 8) + LE32(1) + LE32(2) +
               LE32(2) + LE32(kFanSeparator) + LE32(0x00FF8040);
  file += f32Bytes(0.25f) + f32Bytes(0.5f) + f32Bytes(1) + f32Bytes(-1);
  file += LE32(4) + f32Bytes(128) + f32Bytes(128) + f32Bytes(0) + f32Bytes(0.01f) +
          f32Bytes(0.01f) + f32Bytes(1);
  // A separator, then three corners: qx, qy, qz, normal index 5, colour index 1.
  file += Bytes("\0\0\0\0\0" "\0\0\1\5\1" "\xFF\0\1\5\1" "\0\xFF\1\5\1", 20);
  return file;
}

void DddModelSeeds() {
  MeshObjectX triangle;
  MeshPart part;
  part.sourceVertices.Append(ModelVertex(0, 0, 0, kFanSeparator, 0, 0));
  part.sourceVertices.Append(ModelVertex(1, 0, 0, 0x0000FF, 0, 0));
  part.sourceVertices.Append(ModelVertex(0, 1, 0, 0x00FF00, 1, 0));
  part.sourceVertices.Append(ModelVertex(0, 0, 1, 0xFF0000, 0, -1));
  triangle.AppendPart(part);
  const Bytes one = SavedModel(triangle);
  Save("ddd_model", "triangle", one);
  Save("ddd_model", "triangle-cut", one.substr(0, one.size() - 5));

  // A cube as a strip of four faces and a list of two, in two frames: the second one longer
  // (an extra corner without texture coordinates) and stretched.
  MeshObjectX cube;
  part.sourceVertices.Clear();
  part.sourceVertices.Append(ModelVertex(0, 0, 0, kStripSeparator, 0, 0));
  for (i32 i = 0; i < 10; ++i) {
    const f32 x = (i / 2) % 2 == 0 ? -1.0f : 1.0f, z = (i / 2 + 1) % 4 < 2 ? -1.0f : 1.0f;
    part.sourceVertices.Append(ModelVertex(x, i % 2 ? 1.0f : -1.0f, z, 0x202020u * (i % 4),
                                           0.25f * (i / 2), i % 2 ? 1.0f : 0.0f));
  }
  part.sourceVertices.Append(ModelVertex(0, 0, 0, kListSeparator, 0, 0));
  for (i32 i = 0; i < 6; ++i) {
    part.sourceVertices.Append(ModelVertex(i & 1 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f,
                                           i < 3 ? 1.0f : -1.0f, kFirstNonColour, 0.5f, 0.5f));
  }
  cube.AppendPart(part);
  for (MeshVertex& vertex : part.sourceVertices) vertex.x *= 2.5f;
  part.sourceVertices.Append(part.sourceVertices[1]);
  cube.AppendPart(part);
  Save("ddd_model", "cube-two-frames", SavedModel(cube));

  Save("ddd_model", "quantised", QuantisedModel());
  Save("ddd_model", "text-model", "DDDA 1.1 1 0 0.5 1 255 128 0 3 0 0 1 0 2 0 1 3 "
                                  "0 0 0 0 0 1 1 0 0 0 0 1 0 1 0 0 0 1\n");
}

// --- scenes ---

// The signature line, then the sections as the INI writer writes them.
Bytes Scene(const std::vector<std::vector<const char*>>& entries) {
  IniFile store;
  store.name = DynString("seed.ddw");
  for (const std::vector<const char*>& e : entries) {
    SetIniValue(&store, DynString(e[0]), DynString(e[1]), DynString(e[2]));
  }
  WriteIniFile(&store);
  return ";DDW seed scene\r\n" + ReadBack("seed.ddw");
}

// The scene target's leading choice: 0 from disk, 1 from memory, 2 from a pack. Runs after the
// model seeds.
void SceneSeeds() {
  const Bytes town = Scene({{"textures", "count", "2"}, {"textures", "1", "t.bmp"},
                            {"textures", "2", "T.PNG"}, {"objects", "count", "3"},
                            {"objects", "1", "a.ddd"}, {"objects", "1ta", "1"},
                            {"objects", "1tb", "2"}, {"objects", "2", "b.ddd"},
                            {"objects", "3", "p.ddd"}, {"objects", "3ta", "-2"}});
  Save("scene_file", "town-on-disk", Bytes(1, 0) + town);
  Save("scene_file", "town-in-memory", Bytes(1, 1) + town);
  Save("scene_file", "town-in-pack", Bytes(1, 2) + town);
  Save("scene_file", "gaps-and-cases",
       Bytes(1, 0) + Scene({{"Objects", "COUNT", "4"}, {"objects", "1", "B.DDD"},
                            {"objects", "4", "missing.ddd"}, {"TEXTURES", "count", "-1"}}));
  // Not a scene: the binary model seed, loaded as one model.
  std::ifstream model(outFolder / "ddd_model" / "seed-triangle", std::ios::binary);
  Save("scene_file", "model-in-pack",
       Bytes(1, 2) + Bytes(std::istreambuf_iterator<char>(model), {}));
}

// --- network session streams ---

Bytes SessionPacket(const u8* packet) {
  const auto size = static_cast<std::size_t>(PacketWireSize(packet));
  return Bytes(reinterpret_cast<const char*>(packet), size);
}

Bytes SessionPacket(u8 type, u16 target, u16 sender, const Bytes& payload = "") {
  u8 packet[kNetPacketBufferSize];
  BuildPacket(packet, type, target, sender, payload.data(), static_cast<i32>(payload.size()));
  return SessionPacket(packet);
}

// The session target's leading choices: hosting, an accepted connection, the piece length.
Bytes SessionChoices(bool hosting, bool accepted, u8 piece) {
  return Bytes(1, static_cast<char>((hosting ? 1 : 0) | (accepted ? 2 : 0) | piece << 2));
}

void SessionSeeds() {
  u8 registration[kNetPacketBufferSize];
  BuildRegistration(registration, false, "dan");
  Save("session_stream", "host-requests-texts-leave",
       SessionChoices(true, true, 5) + SessionPacket(registration) + SessionPacket('e', 0, 101) +
           SessionPacket('f', 0, 101, LE16(0)) + SessionPacket('g', 0, 101, LE16(103)) +
           SessionPacket('h', 0, 101) + SessionPacket(3, 0xFFFF, 101, "hello all") +
           SessionPacket(3, 103, 101, "to 103") + SessionPacket(4, 0, 103));
  Save("session_stream", "client-replies-and-texts",
       SessionChoices(false, false, 0) + SessionPacket(2, 104, 0) +
           SessionPacket('e', 101, 0, LE16(2)) + SessionPacket('g', 101, 0, "ann") +
           SessionPacket(3, 101, 102, "hi") + SessionPacket(3, 0xFFFF, 103, "all"));
  Save("session_stream", "host-connection-loop",
       SessionChoices(true, false, 3) + SessionPacket(3, 103, 101, "came back") +
           SessionPacket(registration));
  Save("session_stream", "too-long-after-single-bytes",
       SessionChoices(true, true, 1) + SessionPacket(3, 101, 103, Bytes(1024, 'x')) +
           Bytes("\x03\x01\x04\0\0\0\0", 7) + Bytes(10, 'z'));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
    return 2;
  }
  outFolder = fs::absolute(argv[1]);
  // The writers work on names: let them write their scratch files in a folder of their own.
  const fs::path scratch = outFolder / ".scratch";
  fs::create_directories(scratch);
  if (chdir(scratch.c_str()) != 0) return 1;
  BmpSeeds();
  PngSeeds();
  FontSeeds();
  PackSeeds();
  ChannelSeeds();
  TextStoreSeeds();
  GameSeeds();
  TextModelSeeds();
  HttpSeeds();
  DddModelSeeds();
  SessionSeeds();
  SceneSeeds();
  fs::current_path(outFolder);
  fs::remove_all(scratch);
  return 0;
}

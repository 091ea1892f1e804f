// The fuzz targets: one function per reader of hostile input, each taking one input as bytes.
// The same functions run under libFuzzer (built with clang, one program per target) and under
// the replay program of the normal build, which feeds them the saved corpus as regression tests.
//
// A target returns normally for every input the reader handles soundly, rejections included. A
// broken promise of the reader (two ways of reading the same bytes that disagree, a round trip
// that changes the data) aborts with a message, which both engines report as a finding.
#pragma once

#include <cstddef>
#include <string_view>

#include "core/types.h"

using FuzzFunction = void (*)(const u8* data, std::size_t size);

struct FuzzTarget {
  const char* name;  // also the name of the corpus folder and of the libFuzzer program
  FuzzFunction run;
};

// Every target, in a fixed order.
const FuzzTarget* FuzzTargetsBegin();
const FuzzTarget* FuzzTargetsEnd();
// The target of that name, or null.
const FuzzTarget* FindFuzzTarget(std::string_view name);

// The targets themselves.
void FuzzBmpImage(const u8* data, std::size_t size);
void FuzzPngImage(const u8* data, std::size_t size);
void FuzzFont(const u8* data, std::size_t size);
void FuzzSbxPack(const u8* data, std::size_t size);
void FuzzPackLzo(const u8* data, std::size_t size);
void FuzzPackLzss(const u8* data, std::size_t size);
void FuzzChannelReads(const u8* data, std::size_t size);
void FuzzLineFile(const u8* data, std::size_t size);
void FuzzIniStore(const u8* data, std::size_t size);
void FuzzGameConfig(const u8* data, std::size_t size);
void FuzzGameHiscores(const u8* data, std::size_t size);
void FuzzTextModel(const u8* data, std::size_t size);
void FuzzHttpResponse(const u8* data, std::size_t size);
void FuzzDddModel(const u8* data, std::size_t size);
void FuzzSessionStream(const u8* data, std::size_t size);
void FuzzSceneFile(const u8* data, std::size_t size);

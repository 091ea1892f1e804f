// Numbered channel reads over hostile bytes. The input starts with a small program of reads and
// seeks and goes on with the file they read. The program runs twice, on a channel over the bytes
// as a memory file and on a channel over the same bytes as a file; both must give the same values,
// texts and positions, except where the two kinds are meant to differ:
//  - a value or text cut by the end of a memory file reads as zeros there, where a file fails;
//  - once a seek has gone before the start, the two kinds go separate ways.
// Every end of program must carry error 3 (a read past the end) or 7 (a channel above 7).
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "core/dyn_string.h"
#include "files/channel_table.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_target.h"

namespace {

enum class Op : u8 {
  kInt8,
  kUInt8,
  kInt16,
  kUInt16,
  kInt32,
  kUInt32,
  kFloat32,
  kFloat64,
  kString,
  kLine,
  kLineInt,
  kLineFloat,
  kSeek,
  kCount
};

struct Operation {
  Op op;
  i32 argument;  // the count of a text read, the offset of a seek
  i32 seekMode;  // > 0 relative, < 0 from the end, 0 absolute
  bool badChannel;
};

// One step of the program as a channel saw it.
struct Step {
  i64 number = 0;  // an integer, or the bits of a float
  std::string text;
  i32 position = 0;  // after the step
  i32 atEnd = 0;
  bool operator==(const Step&) const = default;
};

struct Trace {
  std::vector<Step> steps;     // the steps that completed
  std::optional<f32> endCode;  // set when a step ended the program
};

constexpr u32 kMemoryChannel = 3;
constexpr u32 kFileChannel = 6;
constexpr std::size_t kMaxOperations = 16;

// Byte k of an operation: low 4 bits the operation, 0x30 the seek mode, 0x40 a 65536 times
// larger argument, 0xF0 together a channel number above 7.
std::vector<Operation> ReadProgram(FuzzBytes& in) {
  std::vector<Operation> program(in.Byte() % (kMaxOperations + 1));
  for (Operation& o : program) {
    const u8 k = in.Byte();
    const i32 word = static_cast<i16>(in.Word());
    o.op = static_cast<Op>((k & 0x0F) % static_cast<u8>(Op::kCount));
    o.argument = (k & 0x40) != 0 ? word * 65536 : word;
    o.seekMode = ((k >> 4) & 3) == 1 ? 1 : ((k >> 4) & 3) == 2 ? -1 : 0;
    o.badChannel = (k & 0xF0) == 0xF0;
  }
  return program;
}

i32 Width(Op op) {
  switch (op) {
    case Op::kInt8:
    case Op::kUInt8:
      return 1;
    case Op::kInt16:
    case Op::kUInt16:
      return 2;
    case Op::kInt32:
    case Op::kUInt32:
    case Op::kFloat32:
      return 4;
    case Op::kFloat64:
      return 8;
    default:
      return 0;
  }
}

std::string Text(const DynString& text) { return std::string(text.CStr(), text.Length()); }

i64 FloatBits(f32 value) {
  u32 bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

Step Apply(u32 channel, const Operation& o) {
  Step step;
  i32 value = 0;
  f32 real = 0.0f;
  DynString text;
  switch (o.op) {
    case Op::kInt8:
      ReadChannelInt8(channel, value);
      break;
    case Op::kUInt8:
      ReadChannelUInt8(channel, value);
      break;
    case Op::kInt16:
      ReadChannelInt16(channel, value);
      break;
    case Op::kUInt16:
      ReadChannelUInt16(channel, value);
      break;
    case Op::kInt32:
      ReadChannelInt32(channel, value);
      break;
    case Op::kUInt32:
      ReadChannelUInt32(channel, value);
      break;
    case Op::kFloat32:
      ReadChannelFloat32(channel, real);
      break;
    case Op::kFloat64:
      ReadChannelFloat64(channel, real);
      break;
    case Op::kString:
      ReadChannelString(channel, text, o.argument);
      break;
    case Op::kLine:
      ReadChannelLine(channel, text);
      break;
    case Op::kLineInt:
      ReadChannelLineInt(channel, value);
      break;
    case Op::kLineFloat:
      ReadChannelLineFloat(channel, real);
      break;
    case Op::kSeek:
      SeekChannel(channel, o.argument, o.seekMode);
      break;
    case Op::kCount:
      break;
  }
  step.number = (o.op == Op::kFloat32 || o.op == Op::kFloat64 || o.op == Op::kLineFloat)
                    ? FloatBits(real)
                    : value;
  step.text = Text(text);
  step.position = ChannelPosition(channel);
  step.atEnd = ChannelAtEnd(channel);
  return step;
}

Trace Run(u32 channel, const std::vector<Operation>& program) {
  Trace trace;
  for (const Operation& o : program) {
    Step step;
    trace.endCode = CatchProgramEnd([&] { step = Apply(o.badChannel ? 8 + channel : channel, o); });
    if (trace.endCode) break;
    trace.steps.push_back(step);
  }
  return trace;
}

void CheckEndCode(const Trace& trace, const std::vector<Operation>& program) {
  if (!trace.endCode) return;
  const Operation& last = program[trace.steps.size()];
  const f32 expected = last.badChannel ? 7.0f : 3.0f;
  FUZZ_CHECK(*trace.endCode == expected, "a channel read ended with the wrong error");
}

// A read that a file cannot complete but a memory file completes with zeros.
bool CutByTheEnd(const Operation& o, i64 position, i64 size) {
  const i64 width = o.op == Op::kString ? o.argument : Width(o.op);
  return width > 0 && position >= 0 && position <= size && position + width > size;
}

void Compare(const Trace& memory, const Trace& file, const std::vector<Operation>& program,
             i64 size) {
  i64 position = 0;
  for (std::size_t i = 0; i < program.size(); ++i) {
    // Before the start the file stream stays where it was while the memory file refuses.
    if (position < 0) return;
    const bool memoryDone = i >= memory.steps.size(), fileDone = i >= file.steps.size();
    if (memoryDone || fileDone) {
      FUZZ_CHECK(memoryDone == fileDone || (fileDone && CutByTheEnd(program[i], position, size)),
                 "a read ends one channel kind only");
      return;
    }
    FUZZ_CHECK(memory.steps[i] == file.steps[i], "memory and file channels read differently");
    position = memory.steps[i].position;
  }
}

}  // namespace

void FuzzChannelReads(const u8* data, std::size_t size) {
  BeginFuzzInput();
  FuzzBytes in(data, size);
  const std::vector<Operation> program = ReadProgram(in);
  const MemoryFile memory(in.Rest(), in.RestSize());
  const std::string path = WriteFuzzFile("channel.bin", in.Rest(), in.RestSize());

  FUZZ_CHECK(OpenFileChannel(kMemoryChannel, DynString(memory.Name()), 1) == 1, "memory open");
  FUZZ_CHECK(OpenFileChannel(kFileChannel, DynString(path.c_str()), 1) == 1, "file open");
  const Trace fromMemory = Run(kMemoryChannel, program);
  const Trace fromFile = Run(kFileChannel, program);
  CloseChannel(kMemoryChannel);
  CloseChannel(kFileChannel);

  CheckEndCode(fromMemory, program);
  CheckEndCode(fromFile, program);
  Compare(fromMemory, fromFile, program, static_cast<i64>(memory.Size()));
  FUZZ_CHECK(std::memcmp(memory.Data(), in.Rest(), memory.Size()) == 0, "a read wrote the block");
}

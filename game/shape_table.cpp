// The 28 piece-shape blocks. Each comment shows the block's rows from the top, X for a block.
#include "game/shape_table.h"

namespace game {

namespace {

constexpr ReadDataItem D(f32 value) { return ReadDataItem{value, nullptr}; }

// J
constexpr ReadDataItem kJ0[] = {D(2), D(3), D(0), D(1), D(0), D(1), D(1), D(1)};  // .X/.X/XX
constexpr ReadDataItem kJ1[] = {D(3), D(2), D(1), D(1), D(1), D(0), D(0), D(1)};  // XXX/..X
constexpr ReadDataItem kJ2[] = {D(2), D(3), D(1), D(1), D(1), D(0), D(1), D(0)};  // XX/X./X.
constexpr ReadDataItem kJ3[] = {D(3), D(2), D(1), D(0), D(0), D(1), D(1), D(1)};  // X../XXX
// L
constexpr ReadDataItem kL0[] = {D(2), D(3), D(1), D(0), D(1), D(0), D(1), D(1)};  // X./X./XX
constexpr ReadDataItem kL1[] = {D(3), D(2), D(0), D(0), D(1), D(1), D(1), D(1)};  // ..X/XXX
constexpr ReadDataItem kL2[] = {D(2), D(3), D(1), D(1), D(0), D(1), D(0), D(1)};  // XX/.X/.X
constexpr ReadDataItem kL3[] = {D(3), D(2), D(1), D(1), D(1), D(1), D(0), D(0)};  // XXX/X..
// Z
constexpr ReadDataItem kZ0[] = {D(2), D(3), D(0), D(1), D(1), D(1), D(1), D(0)};  // .X/XX/X.
constexpr ReadDataItem kZ1[] = {D(3), D(2), D(1), D(1), D(0), D(0), D(1), D(1)};  // XX./.XX
constexpr ReadDataItem kZ2[] = {D(2), D(3), D(0), D(1), D(1), D(1), D(1), D(0)};  // .X/XX/X.
constexpr ReadDataItem kZ3[] = {D(3), D(2), D(1), D(1), D(0), D(0), D(1), D(1)};  // XX./.XX
// S
constexpr ReadDataItem kS0[] = {D(2), D(3), D(1), D(0), D(1), D(1), D(0), D(1)};  // X./XX/.X
constexpr ReadDataItem kS1[] = {D(3), D(2), D(0), D(1), D(1), D(1), D(1), D(0)};  // .XX/XX.
constexpr ReadDataItem kS2[] = {D(2), D(3), D(1), D(0), D(1), D(1), D(0), D(1)};  // X./XX/.X
constexpr ReadDataItem kS3[] = {D(3), D(2), D(0), D(1), D(1), D(1), D(1), D(0)};  // .XX/XX.
// T
constexpr ReadDataItem kT0[] = {D(2), D(3), D(0), D(1), D(1), D(1), D(0), D(1)};  // .X/XX/.X
constexpr ReadDataItem kT1[] = {D(3), D(2), D(1), D(1), D(1), D(0), D(1), D(0)};  // XXX/.X.
constexpr ReadDataItem kT2[] = {D(2), D(3), D(1), D(0), D(1), D(1), D(1), D(0)};  // X./XX/X.
constexpr ReadDataItem kT3[] = {D(3), D(2), D(0), D(1), D(0), D(1), D(1), D(1)};  // .X./XXX
// I
constexpr ReadDataItem kI0[] = {D(1), D(4), D(1), D(1), D(1), D(1)};  // X/X/X/X
constexpr ReadDataItem kI1[] = {D(4), D(1), D(1), D(1), D(1), D(1)};  // XXXX
constexpr ReadDataItem kI2[] = {D(1), D(4), D(1), D(1), D(1), D(1)};  // X/X/X/X
constexpr ReadDataItem kI3[] = {D(4), D(1), D(1), D(1), D(1), D(1)};  // XXXX
// O
constexpr ReadDataItem kO0[] = {D(2), D(2), D(1), D(1), D(1), D(1)};  // XX/XX
constexpr ReadDataItem kO1[] = {D(2), D(2), D(1), D(1), D(1), D(1)};
constexpr ReadDataItem kO2[] = {D(2), D(2), D(1), D(1), D(1), D(1)};
constexpr ReadDataItem kO3[] = {D(2), D(2), D(1), D(1), D(1), D(1)};

template <i32 N>
constexpr ReadDataCursor Block(const ReadDataItem (&items)[N]) {
  return ReadDataCursor{items, N, 0};
}

ReadDataCursor shapeBlocks[kPieceCount][kRotationCount] = {
    {Block(kJ0), Block(kJ1), Block(kJ2), Block(kJ3)},
    {Block(kL0), Block(kL1), Block(kL2), Block(kL3)},
    {Block(kZ0), Block(kZ1), Block(kZ2), Block(kZ3)},
    {Block(kS0), Block(kS1), Block(kS2), Block(kS3)},
    {Block(kT0), Block(kT1), Block(kT2), Block(kT3)},
    {Block(kI0), Block(kI1), Block(kI2), Block(kI3)},
    {Block(kO0), Block(kO1), Block(kO2), Block(kO3)},
};

}  // namespace

ReadDataCursor* ShapeBlock(i32 piece, i32 rotation) {
  if (piece < 0 || piece >= kPieceCount || rotation < 0 || rotation >= kRotationCount)
    return nullptr;
  return &shapeBlocks[piece][rotation];
}

void RewindShapeBlocks() {
  for (auto& piece : shapeBlocks)
    for (ReadDataCursor& block : piece) block.next = 0;
}

}  // namespace game

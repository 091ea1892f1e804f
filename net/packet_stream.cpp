// Reassembling packets from a connection's stream.
#include "net/packet_stream.h"

#include <algorithm>
#include <cstring>

#include "net/socket_table.h"

u8* PacketAssembler::Space() {
  if (!node_) node_ = std::make_unique<PacketNode>();
  return node_->packet + filled_;
}

i32 PacketAssembler::Missing() const {
  if (filled_ < kNetPacketHeaderSize) return kNetPacketHeaderSize - filled_;
  return PacketWireSize(node_->packet) - filled_;
}

AssemblyState PacketAssembler::Add(i32 count) {
  filled_ += count;
  if (filled_ < kNetPacketHeaderSize) return AssemblyState::kIncomplete;
  const u8* packet = node_->packet;
  if (PacketPayloadLength(packet) > kNetMaxPayload) return AssemblyState::kBroken;
  return filled_ < PacketWireSize(packet) ? AssemblyState::kIncomplete : AssemblyState::kComplete;
}

PacketNode* PacketAssembler::TakePacket() {
  node_->packet[filled_ - 1] = 0;  // the end byte: a text payload ends here
  filled_ = 0;
  return node_.release();
}

bool AssemblePackets(PacketAssembler& assembler, const u8* data, std::size_t size,
                     PacketQueue& packets) {
  while (size > 0) {
    const std::size_t count = std::min(size, static_cast<std::size_t>(assembler.Missing()));
    std::memcpy(assembler.Space(), data, count);
    data += count;
    size -= count;
    const AssemblyState state = assembler.Add(static_cast<i32>(count));
    if (state == AssemblyState::kBroken) return false;
    if (state == AssemblyState::kComplete) packets.Append(assembler.TakePacket());
  }
  return true;
}

StreamRead ReadPacket(i32 slot, PacketAssembler& assembler, PacketNode*& packet) {
  for (;;) {
    const i32 received = SocketReceive(slot, assembler.Space(), assembler.Missing());
    if (received == 0) return StreamRead::kClosed;
    if (received < 0) return StreamRead::kNothing;
    switch (assembler.Add(received)) {
      case AssemblyState::kComplete:
        packet = assembler.TakePacket();
        return StreamRead::kPacket;
      case AssemblyState::kBroken:
        return StreamRead::kBroken;
      case AssemblyState::kIncomplete:
        break;
    }
  }
}

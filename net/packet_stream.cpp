// Reassembling packets from a connection's stream.
#include "net/packet_stream.h"

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

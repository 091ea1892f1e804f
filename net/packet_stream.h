// Turning a connection's TCP stream back into whole packets. TCP keeps no packet boundaries: a
// receive may stop anywhere, even inside the 7-byte header, so each connection keeps the packet it
// is assembling across the worker's passes. The assembler asks only for the bytes its packet still
// misses, so it never reads into the next packet. A payload length above 1024 means the stream
// is not a session's: the connection is then of no further use.
#pragma once

#include <memory>

#include "core/types.h"
#include "net/net_session.h"

enum class AssemblyState {
  kIncomplete,  // more bytes are needed
  kComplete,    // a whole packet is ready for TakePacket
  kBroken,      // the header claims a payload above 1024 bytes
};

class PacketAssembler {
 public:
  // Where the next bytes go, and how many the packet still misses (at least 1).
  u8* Space();
  i32 Missing() const;
  // `count` bytes (1..Missing()) were written at Space().
  AssemblyState Add(i32 count);
  // The finished packet with its end byte set to 0; the next bytes start a new packet.
  PacketNode* TakePacket();

 private:
  std::unique_ptr<PacketNode> node_;
  i32 filled_ = 0;
};

// Feeds stream bytes to the assembler; whole packets go to `packets`. False when the stream broke
// (the bytes after the broken header are not read).
bool AssemblePackets(PacketAssembler& assembler, const u8* data, std::size_t size,
                     PacketQueue& packets);

enum class StreamRead {
  kPacket,   // one packet was taken
  kNothing,  // nothing (more) pending in this pass, or a receive error
  kClosed,   // the peer closed the connection
  kBroken,   // the stream is not a session's
};

// Receives on a slot until one packet is whole (it goes to `packet`) or the socket has no more.
StreamRead ReadPacket(i32 slot, PacketAssembler& assembler, PacketNode*& packet);

// The network session's packet stream over hostile bytes: reassembly and routing. The input starts
// with one byte of choices (bit 0: this program hosts; bit 1: the stream comes in on an accepted
// connection rather than the host connection; bits 2..7: the piece length, 0 for all at once) and
// goes on with the stream, which is fed to a connection's assembler piece by piece, each piece
// followed by a routing pass over a session with a few players.
//
// Every packet taken must re-encode, through the project's encoder, to exactly its bytes on the
// stream (the end byte excepted, which the receiver sets to 0); the stream must end either inside
// one packet or at a header that claims more than 1024 payload bytes. Under AddressSanitizer the
// bytes after each packet's end in its 1032-byte buffer are poisoned while it is routed, so a rule
// that reads past a payload is a finding.
#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_target.h"
#include "net/packet_stream.h"
#include "net/session_routing.h"

namespace {

constexpr i32 kAccepted = 10;

void AddPlayer(PlayerList& list, u16 id, i32 socket, u8 hidden, const char* name) {
  auto* record = new PlayerRecord;
  record->id = id;
  record->socket = socket;
  record->hidden = hidden;
  std::strcpy(record->name, name);
  list.Append(record);
}

// Checks the packets against the stream from `offset` on and queues them for routing.
void CheckAndQueue(PacketQueue& packets, const u8* stream, std::size_t& offset, i32 connection,
                   PacketQueue& inbound) {
  while (PacketNode* node = packets.TakeHead()) {
    const u8* packet = node->packet;
    const std::size_t wire = static_cast<std::size_t>(PacketWireSize(packet));
    u8 encoded[kNetPacketBufferSize];
    BuildPacket(encoded, PacketType(packet), PacketTarget(packet), PacketSender(packet),
                PacketPayload(packet), PacketPayloadLength(packet));
    FUZZ_CHECK(wire <= kNetPacketBufferSize && std::memcmp(encoded, packet, wire) == 0 &&
                   packet[wire - 1] == 0,
               "a packet does not re-encode to itself");
    FUZZ_CHECK(std::memcmp(packet, stream + offset, wire - 1) == 0,
               "a packet is not the stream's bytes");
    offset += wire;
    node->connection = connection;
    ASAN_POISON_MEMORY_REGION(node->packet + wire, kNetPacketBufferSize - wire);
    inbound.Append(node);
  }
}

}  // namespace

void FuzzSessionStream(const u8* data, std::size_t size) {
  FuzzBytes input(data, size);
  const u8 choices = input.Byte();
  const bool hosting = (choices & 1) != 0;
  const i32 connection = (choices & 2) != 0 ? kAccepted : kFromHostConnection;
  const std::size_t piece = choices >> 2 != 0 ? choices >> 2 : input.RestSize();
  const u8* stream = input.Rest();
  const std::size_t length = input.RestSize();

  NetSession session;
  session.keepLeftIds = 1;
  AddPlayer(session.hostPlayers, 101, kAccepted, 0, "ann");
  AddPlayer(session.hostPlayers, 102, kAccepted + 1, 1, "query");
  AddPlayer(session.hostPlayers, 103, kAccepted + 2, 0, "");
  AddPlayer(session.localPlayers, 101, -1, 0, "ann");
  AddPlayer(session.localPlayers, kNetIdRegistrationSent, -1, 0, "bob");
  const std::vector<i32> open = {kAccepted, kAccepted + 1, kAccepted + 2};

  PacketAssembler assembler;
  PacketQueue packets, outbox;
  std::size_t fed = 0, offset = 0;
  bool broken = false;
  while (fed < length && !broken) {
    const std::size_t count = std::min(piece, length - fed);
    broken = !AssemblePackets(assembler, stream + fed, count, packets);
    fed += count;
    CheckAndQueue(packets, stream, offset, connection, session.inbound);
    RoutePackets(session, hosting, open, outbox);
    FreePackets(outbox);
  }
  if (broken) {
    FUZZ_CHECK(length - offset >= kNetPacketHeaderSize &&
                   ReadLE16(stream + offset + 1) > kNetMaxPayload,
               "the stream broke at a sound header");
    if (connection != kFromHostConnection) RemovePlayersOnConnection(session, connection);
  } else {
    const std::size_t rest = length - offset;
    FUZZ_CHECK(rest < kNetPacketHeaderSize ||
                   rest < static_cast<std::size_t>(ReadLE16(stream + offset + 1)) + 8,
               "a whole packet was left in the stream");
  }
  FreeSessionLists(session);
}

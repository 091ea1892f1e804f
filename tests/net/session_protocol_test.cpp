// The session protocol without sockets: the wire format, a stream reassembled from single bytes,
// and the routing rules of host and client over the session's queues.
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <tuple>
#include <vector>

#include "net/outgoing_buffer.h"
#include "net/packet_stream.h"
#include "net/session_commands.h"
#include "net/session_routing.h"
#include "net/socket_table.h"
#include "tests/net/session_wire.h"
#include "tests/support/test_support.h"

namespace {

bool Assemble(PacketAssembler& assembler, const std::string& bytes, PacketQueue& packets) {
  const auto* data = reinterpret_cast<const u8*>(bytes.data());
  return AssemblePackets(assembler, data, bytes.size(), packets);
}

using Sent = std::vector<std::pair<i32, std::string>>;  // connection, packet
Sent Take(PacketQueue& queue) {
  Sent sent;
  for (PacketNode* node; (node = queue.TakeHead()) != nullptr; delete node) {
    sent.emplace_back(node->connection, Bytes(node->packet));
  }
  return sent;
}
template <class List>
std::vector<u16> Ids(const List& list) {
  std::vector<u16> ids;
  for (auto* node = list.head; node; node = node->next) ids.push_back(node->id);
  return ids;
}

class SessionRoutingTest : public testing::Test {
 protected:
  void SetUp() override { session.keepLeftIds = 1; }
  void TearDown() override { FreeSessionLists(session); }
  void Add(PlayerList& list, u16 id, i32 socket, u8 hidden = 0, const char* name = "p") {
    list.Append(new PlayerRecord);
    list.tail->socket = socket;
    list.tail->id = id;
    list.tail->hidden = hidden;
    CopyPlayerName(list.tail->name, reinterpret_cast<const u8*>(name), 127);
  }
  void In(const std::string& wire, i32 connection) {
    PacketAssembler assembler;
    ASSERT_TRUE(Assemble(assembler, wire, session.inbound));
    session.inbound.tail->connection = connection;
  }
  Sent Route() {
    PacketQueue outbox;
    RoutePackets(session, true, open, outbox);
    EXPECT_EQ(0, session.inbound.count);
    return Take(outbox);
  }
  NetSession session;
  std::vector<i32> open = {10, 11, 12};
};

TEST(SessionPacketTest, WireFormatAndReassembly) {
  const std::string text(300, 't');
  std::string first = Wire(kNetPacketText, 102, 101, text);
  ASSERT_EQ(std::string("\x03\x2c\x01\x66\x00\x65\x00", 7) + text + '\0', first);
  first.back() = 'Z';  // the end byte carries no meaning; the receiver sets it to 0
  const std::string stream = first + Wire(kNetPacketLeave, 0, 101) + Wire('g', 0, 9, U16(7));
  PacketAssembler assembler;
  PacketQueue got;
  for (char byte : stream) ASSERT_TRUE(Assemble(assembler, std::string(1, byte), got));
  ASSERT_EQ(3, got.count);
  EXPECT_EQ(text, reinterpret_cast<const char*>(PacketPayload(got.head->packet)));
  EXPECT_EQ(stream.substr(308), Bytes(got.head->next->packet) + Bytes(got.tail->packet));
  FreePackets(got);
  EXPECT_FALSE(Assemble(assembler, std::string("\x03\x01\x04\0\0\0\0", 7), got));  // 1025 bytes
  EXPECT_EQ(0, got.count);
}

// A connection's waiting bytes over a socket pair whose reader the test plays: they leave in order
// and whole; a connection that takes no byte for two seconds, holds more than 256 KiB or fails a
// send is given up.
TEST(SessionPacketTest, OutgoingBytesLeaveInOrderUntilTheReaderFallsBehind) {
  constexpr i32 kSlot = 20;
  int fds[2];
  ASSERT_EQ(0, socketpair(AF_UNIX, SOCK_STREAM, 0, fds));
  const int small = 4096;
  setsockopt(fds[0], SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
  socketTable.slots[kSlot].fd = fds[0];
  std::string stream, read;
  auto readSome = [&](std::size_t most) {
    std::string buffer(most, '\0');
    const ssize_t n = recv(fds[1], buffer.data(), most, MSG_DONTWAIT);
    read += buffer.substr(0, n > 0 ? static_cast<std::size_t>(n) : 0);
  };
  OutgoingBuffer out;
  for (int i = 0; i < 100; ++i) {  // about 100 KiB: far more than the socket takes
    const std::string packet = Wire(kNetPacketText, 102, 101, std::string(1000, 'a' + i % 26));
    out.Append(reinterpret_cast<const u8*>(packet.data()), static_cast<i32>(packet.size()), 0);
    stream += packet;
    EXPECT_TRUE(out.Flush(kSlot, 0));
  }
  EXPECT_TRUE(out.Pending() > 0 && out.Flush(kSlot, 1999));
  readSome(8192);
  EXPECT_TRUE(out.Flush(kSlot, 1999));  // progress: the two seconds start again
  EXPECT_TRUE(out.Flush(kSlot, 3998));
  EXPECT_FALSE(out.Flush(kSlot, 3999));
  EXPECT_TRUE(out.Failed());
  const std::size_t sent = stream.size() - static_cast<std::size_t>(out.Pending());
  for (int i = 0; i < 1000 && read.size() < sent; ++i) readSome(65536);
  EXPECT_EQ(stream.substr(0, sent), read);  // in order, nothing left out or doubled
  out.Clear();
  const std::string tooMuch(kOutgoingLimitBytes + 65536, 'x');
  out.Append(reinterpret_cast<const u8*>(tooMuch.data()), static_cast<i32>(tooMuch.size()), 6000);
  EXPECT_FALSE(out.Flush(kSlot, 6000));
  out.Clear();
  close(fds[1]);  // the reader is gone: the send fails
  const std::string leave = Wire(kNetPacketLeave, 0, 101);
  out.Append(reinterpret_cast<const u8*>(leave.data()), 8, 7000);
  EXPECT_FALSE(out.Flush(kSlot, 7000));
  SocketClose(kSlot);
}

TEST(SessionPacketTest, PortsBelowOneMeanTheDefault) {
  for (i32 port : {0, -5, 65536}) EXPECT_EQ(27910, NetSessionPort(port)) << port;
  EXPECT_EQ(4464, NetSessionPort(70000));
}

TEST_F(SessionRoutingTest, TextsAreRelayedOnceAndNeverBack) {
  const i32 sockets[] = {10, 11, 11, 12, 13};  // of players 101 to 105; 13 is closed, 102 hidden
  for (u16 i = 0; i < 5; ++i) Add(session.hostPlayers, 101 + i, sockets[i], i == 1);
  Add(session.localPlayers, 104, -1);
  In(Wire(kNetPacketText, kNetIdEveryone, 101, "all"), 10);
  In(Wire(kNetPacketText, 103, 101, "one"), 10);
  In(Wire(kNetPacketText, 104, 101, "mine"), 10);
  In(Wire(kNetPacketText, 101, 104, "came back"), kFromHostConnection);
  // 104 is one of the host's own players: the broadcast reaches it in the same step as the direct
  // text after it, not round the host's connection to itself, which would put it behind.
  EXPECT_EQ((Sent{{11, Wire(kNetPacketText, 103, 101, "all")},
                  {11, Wire(kNetPacketText, 103, 101, "one")}}),
            Route());
  EXPECT_EQ((Sent{{10, Wire(kNetPacketText, 104, 101, "all")},
                  {10, Wire(kNetPacketText, 104, 101, "mine")}}),
            Take(session.localPlayers.head->messages));
}

TEST_F(SessionRoutingTest, AnswersSkipHiddenPlayers) {
  const char* names[] = {"query", "ann", "", "p", "p"};
  const i32 sockets[] = {10, 10, 11, 11, 13};  // of players 101 to 105; 101 and 104 are hidden
  for (u16 i = 0; i < 5; ++i) Add(session.hostPlayers, 101 + i, sockets[i], i % 3 == 0, names[i]);
  const std::tuple<u8, std::string, std::string> cases[] = {
      {'e', "", U16(3)},          {'f', U16(0), U16(102)},   {'f', U16(2), U16(105)},
      {'f', U16(3), U16(0)},      {'g', U16(101), "query"},  {'g', U16(102), "ann"},
      {'g', U16(103), "NO_DATA"}, {'g', U16(999), "NO_DATA"}, {'h', "", U16(1)}};
  for (const auto& [type, payload, reply] : cases) {
    In(Wire(type, 0, 101, payload), 10);
    EXPECT_EQ((Sent{{10, Wire(type, 101, 0, reply)}}), Route()) << type << payload;
  }
  In(Wire('f', 0, 101, "\x01"), 10);  // too short for its u16
  In(Wire('e', 0, 555), 10);          // an unknown asker
  In(Wire('e', 0, 105), 13);          // an asker whose connection is closed
  EXPECT_TRUE(Route().empty());
}

TEST_F(SessionRoutingTest, RegistrationLeavingAndClosedConnections) {
  u8 packet[kNetPacketBufferSize];
  BuildRegistration(packet, false, "ann");
  In(Bytes(packet), 10);
  BuildRegistration(packet, true, "query");
  In(Bytes(packet), 11);
  In(Wire(kNetPacketRegister, 0, 0, std::string(8, '\0') + std::string(140, 'n')), 11);
  In(Wire(kNetPacketRegister, 0, 0, std::string(135, '\0')), 10);  // too short
  In(Bytes(packet), 13);  // its connection closed in this pass
  EXPECT_EQ((Sent{{10, Wire(2, 101, 0)}, {11, Wire(2, 102, 0)}, {11, Wire(2, 103, 0)}}), Route());
  const PlayerRecord* query = session.hostPlayers.head->next;
  EXPECT_TRUE(query->hidden == 1 && std::string(query->name) == "query");
  EXPECT_EQ(std::string(127, 'n'), session.hostPlayers.tail->name);
  RemovePlayersOnConnection(session, 11);  // every record on it
  In(Wire(kNetPacketLeave, 0, 101), 12);
  EXPECT_TRUE(Route().empty());
  EXPECT_EQ(0, session.hostPlayers.count);
  EXPECT_EQ((std::vector<u16>{102, 103, 101}), Ids(session.leftIds));

  session.nextId = 0xFEFF;  // the last id, then no more
  In(Bytes(packet), 10);
  In(Bytes(packet), 10);
  EXPECT_EQ((Sent{{10, Wire(2, 0xFEFF, 0)}}), Route());
  session.ownId = 7;
  session.acceptPlayers = 0;  // the next session takes players again
  StopNetSession(session);
  EXPECT_TRUE(session.nextId == 101 && session.ownId == 0);  // idle
  EXPECT_EQ(1, session.acceptPlayers);
  session.acceptPlayers = 0;
  In(Bytes(packet), 10);
  EXPECT_TRUE(Route().empty());
}

TEST_F(SessionRoutingTest, ClientTakesRepliesOnlyFromTheHost) {
  for (int i = 0; i < 2; ++i) Add(session.localPlayers, kNetIdRegistrationSent, -1);
  In(Wire(kNetPacketRegistered, 0x150, 0), kFromHostConnection);
  In(Wire(kNetPacketText, 0x150, 101, "welcome"), kFromHostConnection);  // right behind its id
  In(Wire('e', 0x150, 0, U16(3)), kFromHostConnection);
  In(Wire('e', 0x150, 0, U16(9)), 10);               // forged by a client of this host
  In(Wire(kNetPacketRegistered, 0x151, 0), 10);      // likewise
  EXPECT_TRUE(Route().empty());
  EXPECT_EQ((Sent{{kFromHostConnection, Wire('e', 0x150, 0, U16(3))}}), Take(session.replies));
  EXPECT_EQ((std::vector<u16>{0x150, kNetIdRegistrationSent}), Ids(session.localPlayers));
  EXPECT_EQ(1, session.localPlayers.head->messages.count);
}

}  // namespace

// The session protocol without sockets: the wire format, a stream reassembled from single bytes,
// and the routing rules of host and client over the session's queues.
#include <string>
#include <vector>

#include "net/packet_stream.h"
#include "net/session_routing.h"
#include "tests/support/test_support.h"

namespace {

std::string Bytes(const u8* packet) {
  return std::string(reinterpret_cast<const char*>(packet), PacketWireSize(packet));
}
std::string Wire(u8 type, u16 target, u16 sender, const std::string& payload) {
  u8 packet[kNetPacketBufferSize];
  BuildPacket(packet, type, target, sender, payload.data(), static_cast<i32>(payload.size()));
  return Bytes(packet);
}
std::string U16(u16 value) { return LE(value, 2); }

using Sent = std::vector<std::pair<i32, std::string>>;  // connection, packet

class SessionRoutingTest : public testing::Test {
 protected:
  void SetUp() override { session.keepLeftIds = 1; }
  void TearDown() override { FreeSessionLists(session); }
  void Add(PlayerList& list, u16 id, i32 socket, u8 hidden = 0, const char* name = "p") {
    auto* record = new PlayerRecord;
    record->id = id;
    record->socket = socket;
    record->hidden = hidden;
    CopyPlayerName(record->name, reinterpret_cast<const u8*>(name), 127);
    list.Append(record);
  }
  void In(const std::string& wire, i32 connection) {
    PacketAssembler assembler;
    ASSERT_TRUE(AssemblePackets(assembler, reinterpret_cast<const u8*>(wire.data()), wire.size(),
                                session.inbound));
    session.inbound.tail->connection = connection;
  }
  Sent Take(PacketQueue& queue) {
    Sent sent;
    for (PacketNode* node; (node = queue.TakeHead()) != nullptr; delete node) {
      sent.emplace_back(node->connection, Bytes(node->packet));
    }
    return sent;
  }
  Sent Route(bool hosting = true) {
    PacketQueue outbox;
    RoutePackets(session, hosting, open, outbox);
    EXPECT_EQ(0, session.inbound.count);
    return Take(outbox);
  }
  template <class List>
  std::vector<u16> Ids(const List& list) {
    std::vector<u16> ids;
    for (auto* node = list.head; node; node = node->next) ids.push_back(node->id);
    return ids;
  }
  NetSession session;
  std::vector<i32> open = {10, 11, 12};
};

TEST(SessionPacketTest, WireFormatAndReassembly) {
  const std::string text(300, 't');
  std::string first = Wire(kNetPacketText, 102, 101, text);
  ASSERT_EQ(308u, first.size());
  EXPECT_EQ(std::string("\x03\x2c\x01\x66\x00\x65\x00", 7), first.substr(0, 7));
  first.back() = 'Z';  // the end byte carries no meaning; the receiver sets it to 0
  EXPECT_EQ(8u, Wire(kNetPacketLeave, 0, 101, "").size());
  const std::string stream = first + Wire(kNetPacketLeave, 0, 101, "") + Wire('g', 0, 9, U16(7));
  PacketAssembler assembler;
  PacketQueue got;
  for (const char& byte : stream) {
    ASSERT_TRUE(AssemblePackets(assembler, reinterpret_cast<const u8*>(&byte), 1, got));
  }
  ASSERT_EQ(3, got.count);
  EXPECT_EQ(text, reinterpret_cast<const char*>(PacketPayload(got.head->packet)));
  EXPECT_EQ(stream.substr(308), Bytes(got.head->next->packet) + Bytes(got.tail->packet));
  FreePackets(got);
  std::string tooLong = Wire(kNetPacketText, 1, 2, "");
  tooLong[1] = 0x01;  // 1025 payload bytes
  tooLong[2] = 0x04;
  EXPECT_FALSE(AssemblePackets(assembler, reinterpret_cast<const u8*>(tooLong.data()), 7, got));
  EXPECT_EQ(0, got.count);
}

TEST_F(SessionRoutingTest, TextsAreRelayedOnceAndNeverBack) {
  Add(session.hostPlayers, 101, 10);
  Add(session.hostPlayers, 102, 11, 1);
  Add(session.hostPlayers, 103, 11);
  Add(session.hostPlayers, 104, 12);
  Add(session.hostPlayers, 105, 13);  // its connection is gone
  Add(session.localPlayers, 104, -1);
  In(Wire(kNetPacketText, kNetIdEveryone, 101, "all"), 10);
  In(Wire(kNetPacketText, 103, 101, "one"), 10);
  In(Wire(kNetPacketText, 104, 101, "mine"), 10);
  In(Wire(kNetPacketText, 101, 104, "came back"), kFromHostConnection);
  EXPECT_EQ((Sent{{11, Wire(kNetPacketText, 103, 101, "all")},
                  {12, Wire(kNetPacketText, 104, 101, "all")},
                  {11, Wire(kNetPacketText, 103, 101, "one")}}),
            Route());
  EXPECT_EQ((Sent{{10, Wire(kNetPacketText, 104, 101, "mine")}}),
            Take(session.localPlayers.head->messages));
}

TEST_F(SessionRoutingTest, AnswersSkipHiddenPlayers) {
  Add(session.hostPlayers, 101, 10, 1, "query");
  Add(session.hostPlayers, 102, 10, 0, "ann");
  Add(session.hostPlayers, 103, 11, 0, "");
  Add(session.hostPlayers, 104, 11, 1);
  Add(session.hostPlayers, 105, 13);
  const struct {
    u8 type;
    std::string payload, reply;
  } cases[] = {{'e', "", U16(3)},         {'f', U16(0), U16(102)},      {'f', U16(2), U16(105)},
               {'f', U16(3), U16(0)},     {'g', U16(101), "query"},     {'g', U16(102), "ann"},
               {'g', U16(103), "NO_DATA"}, {'g', U16(999), "NO_DATA"}, {'h', "", U16(1)}};
  for (const auto& c : cases) {
    In(Wire(c.type, 0, 101, c.payload), 10);
    EXPECT_EQ((Sent{{10, Wire(c.type, 101, 0, c.reply)}}), Route()) << c.type << c.payload;
  }
  In(Wire('f', 0, 101, "\x01"), 10);  // too short for its u16
  In(Wire('e', 0, 555, ""), 10);      // an unknown asker
  In(Wire('e', 0, 105, ""), 13);      // an asker whose connection is gone
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
  EXPECT_EQ((Sent{{10, Wire(2, 101, 0, "")}, {11, Wire(2, 102, 0, "")}, {11, Wire(2, 103, 0, "")}}),
            Route());
  EXPECT_EQ("query", std::string(session.hostPlayers.head->next->name));
  EXPECT_EQ(1, session.hostPlayers.head->next->hidden);
  EXPECT_EQ(std::string(127, 'n'), session.hostPlayers.tail->name);

  RemovePlayersOnConnection(session, 11);  // every record on it
  In(Wire(kNetPacketLeave, 0, 101, ""), 12);
  EXPECT_TRUE(Route().empty());
  EXPECT_EQ(0, session.hostPlayers.count);
  EXPECT_EQ((std::vector<u16>{102, 103, 101}), Ids(session.leftIds));

  session.nextId = 0xFEFF;  // the last id, then no more
  In(Bytes(packet), 10);
  In(Bytes(packet), 10);
  EXPECT_EQ((Sent{{10, Wire(2, 0xFEFF, 0, "")}}), Route());
  session.ownId = 7;
  EXPECT_TRUE(StopNetSession(session));  // idle: only the ids go back
  EXPECT_EQ(101, session.nextId);
  EXPECT_EQ(0, session.ownId);
  session.acceptPlayers = 0;
  In(Bytes(packet), 10);
  EXPECT_TRUE(Route().empty());
}

TEST_F(SessionRoutingTest, ClientTakesRepliesOnlyFromTheHost) {
  Add(session.localPlayers, kNetIdRegistrationSent, -1);
  Add(session.localPlayers, kNetIdRegistrationSent, -1);
  Add(session.localPlayers, kNetIdAwaitingRegistration, -1, 0, "bob");
  In(Wire(kNetPacketRegistered, 0x150, 0, ""), kFromHostConnection);
  In(Wire('e', 0x150, 0, U16(3)), kFromHostConnection);
  In(Wire('e', 0x150, 0, U16(9)), 10);                 // forged by a client of this host
  In(Wire(kNetPacketRegistered, 0x151, 0, ""), 10);    // likewise
  EXPECT_TRUE(Route().empty());
  EXPECT_EQ((Sent{{kFromHostConnection, Wire('e', 0x150, 0, U16(3))}}), Take(session.replies));
  PacketQueue outbox;
  TakePendingRegistrations(session, outbox);
  u8 expected[kNetPacketBufferSize];
  BuildRegistration(expected, false, "bob");
  EXPECT_EQ((Sent{{kFromHostConnection, Bytes(expected)}}), Take(outbox));
  EXPECT_EQ((std::vector<u16>{0x150, kNetIdRegistrationSent, kNetIdRegistrationSent}),
            Ids(session.localPlayers));
}

}  // namespace

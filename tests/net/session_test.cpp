// The session end to end: a hosting program (its connection to itself is a client like any
// other), a second session object that joins, the connection table's limits, a load of 32 joined
// programs, and the release at the end of program. Sockets stay on 127.0.0.1 with ports from the
// system; the reply wait is raised so that a loaded machine does not fail.
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "core/runtime_globals.h"
#include "net/session_commands.h"
#include "net/socket_table.h"
#include "platform/platform_ops.h"
#include "tests/net/raw_peer.h"
#include "tests/net/session_wire.h"
#include "tests/support/test_support.h"

namespace {

class SessionTest : public testing::Test {
 protected:
  void SetUp() override {
    socketTable.initCount = 0;
    socketTable.settings.bindIp = socketTable.settings.ownIpOverride = htonl(INADDR_LOOPBACK);
    netReplyWait.polls = 100000;
    netSession = NetCreateSession();
  }
  void TearDown() override {
    NetShutdownSession();
    netReplyWait = NetReplyWait{};
    socketTable.settings = SocketSettings{};
  }
  u16 Host() {
    EXPECT_TRUE(NetHostSession(*netSession, 0));
    return static_cast<u16>(SocketLocalPort(netSession->listenSocket));
  }
};

// Repeats `call` every millisecond while it gives `none`, for at most ten seconds.
template <class Call, class Value>
Value Soon(Value none, Call call) {
  Value value = call();
  for (int i = 0; i < 10000 && value == none; ++i, value = call()) usleep(1000);
  return value;
}
std::string TakeSoon(i32 player) {
  return Soon(std::string(), [&] { return std::string(NetTakeMessage(player).CStr()); });
}
i32 LeftSoon() { return Soon(0, NetTakeLeftPlayer); }

TEST_F(SessionTest, HostJoinMessagesQueriesAndLeaving) {
  SocketSystemInit();
  const i32 own = SocketListen(0);  // the program's own socket outlives every session
  const u16 port = Host();
  EXPECT_EQ(0, NetCountPlayers());  // registers the hidden "query" player first
  EXPECT_EQ(101, netSession->ownId);
  const i32 ann = NetRegisterPlayerCommand(DynString("ann"));
  const i32 bob = NetRegisterPlayerCommand(DynString(std::string(200, 'b').c_str()));
  EXPECT_EQ(2, NetCountPlayers());
  EXPECT_EQ(bob, NetGetPlayerId(1));
  EXPECT_EQ(std::string(127, 'b'), NetGetPlayerName(bob).CStr());
  EXPECT_EQ(1, NetSendMessage(ann, bob, DynString("hello")));
  EXPECT_EQ(1, NetSendMessage(ann, 0, DynString("all")));
  EXPECT_EQ(0, NetSendMessage(ann, bob, DynString(std::string(1025, 'x').c_str())));
  EXPECT_EQ("hello", TakeSoon(bob));
  EXPECT_EQ("all", TakeSoon(bob));
  EXPECT_EQ(ann, NetLastSenderId());

  NetSession* other = NetCreateSession();
  ASSERT_TRUE(NetJoinSession(*other, "127.0.0.1", port));  // its hidden player is 104
  const u16 cat = NetRegisterPlayer(*other, "cat");
  int connections = 0;  // both ends of both programs' connections send small packets at once
  for (const SocketSlot& slot : socketTable.slots) {
    int listening = 0, noDelay = 0;
    socklen_t size = sizeof listening;
    if (slot.fd < 0) continue;
    getsockopt(slot.fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &size);
    getsockopt(slot.fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, &size);
    EXPECT_TRUE(listening == 1 || noDelay == 1);
    connections += listening == 0;
  }
  EXPECT_EQ(4, connections);
  NetLeavePlayer(ann);
  NetLeavePlayer(bob);
  EXPECT_TRUE(Soon(false, [] { return NetCountPlayers() == 1; }));  // both leaves handled
  EXPECT_EQ(bob, LeftSoon());
  EXPECT_EQ(ann, LeftSoon());
  StopNetSession(*other);  // a closed connection takes all its players along
  EXPECT_EQ(cat, LeftSoon());
  EXPECT_EQ(104, LeftSoon());
  EXPECT_EQ(0, NetTakeLeftPlayer());

  NetSetAcceptPlayers(0);
  netReplyWait.polls = 200;
  EXPECT_FALSE(NetJoinSession(*other, "127.0.0.1", port));
  NetSetAcceptPlayers(1);
  netReplyWait.polls = 100000;
  ASSERT_TRUE(NetJoinSession(*other, "127.0.0.1", port));
  NetStopSession();  // the host goes: the joined worker ends by itself
  EXPECT_EQ(0, Soon(u8{1}, [&] { return ReadSessionFlag(*other, other->running); }));
  DeleteNetSession(other);
  EXPECT_GT(SocketLocalPort(own), 0);
  socketTable.settings.ownIpOverride = htonl(0x7F000002);  // nobody listens there
  EXPECT_FALSE(NetHostSession(*netSession, 0));
  EXPECT_EQ(-1, netSession->listenSocket);  // left idle
  EXPECT_EQ(1u, socketTable.initCount);
}

// Idle -> hosting -> idle -> hosting on one port, twice: the stopped session's connections that
// linger on the port do not keep it from being listened on again. A live listener does.
TEST_F(SessionTest, HostingAgainOnOnePort) {
  const u16 port = Host();
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(0, NetCountPlayers());  // the connection to itself is used, so it lingers
    NetStopSession();
    ASSERT_TRUE(NetHostSession(*netSession, port)) << "round " << round;
  }
  NetSession* other = NetCreateSession();
  EXPECT_FALSE(NetHostSession(*other, port));
  EXPECT_EQ(1u, socketTable.initCount);  // the failed start let go of the socket layer
  DeleteNetSession(other);
}

// A registration written in two pieces, with passes of the host's worker between them.
TEST_F(SessionTest, RegistrationInTwoPieces) {
  const int peer = RawConnect(Host());
  const std::string registration = Registration(false, "raw");
  WriteAll(peer, registration.substr(0, 5));
  EXPECT_EQ(0, NetCountPlayers());  // a round trip through the worker
  WriteAll(peer, registration.substr(5));
  EXPECT_EQ(Wire(kNetPacketRegistered, 102, 0), ReadWirePacket(peer));
  EXPECT_EQ(1, NetCountPlayers());
  close(peer);
}

// A host played by the test: the join's answers come in pieces; then it stops reading, which ends
// the session once the bytes pile up; then it closes right behind a packet.
TEST_F(SessionTest, JoinedToAScriptedHost) {
  u16 port = 0;
  const int listening = RawListen(port);
  int host = -1;
  auto serveJoin = [&](u16 id) {  // the id comes in two pieces, many worker passes apart
    host = RawAccept(listening);
    EXPECT_EQ(Registration(true, "query"), ReadWirePacket(host));
    const std::string registered = Wire(kNetPacketRegistered, id, 0);
    WriteAll(host, registered.substr(0, 3));
    usleep(20000);
    WriteAll(host, registered.substr(3));
    EXPECT_EQ(Wire(kNetRequestHello, 0, id), ReadWirePacket(host));
    WriteAll(host, Wire(kNetRequestHello, id, 0, U16(1)));
  };
  std::thread script(serveJoin, 0x155);
  EXPECT_EQ(1, NetJoinSession(DynString("127.0.0.1"), port));
  script.join();
  EXPECT_EQ(0x155, netSession->ownId);
  const DynString text(std::string(1024, 't').c_str());
  int sent = 0;
  while (sent < 20000 && NetSendMessage(0x155, 0x156, text) == 1) ++sent;
  EXPECT_LT(sent, 20000);  // refused once too much waits for the host
  EXPECT_EQ(0, Soon(1, NetIsRunning));
  close(host);

  script = std::thread(serveJoin, 0x157);
  EXPECT_EQ(1, NetJoinSession(DynString("127.0.0.1"), port));
  script.join();
  const int cork = 1;  // the packet and the close travel together: one pass reads both
  setsockopt(host, IPPROTO_TCP, TCP_CORK, &cork, sizeof cork);
  WriteAll(host, Wire(kNetPacketRegistered, 0x1234, 0));
  close(host);
  EXPECT_EQ(0, Soon(1, NetIsRunning));
  NetStopSession();
  EXPECT_EQ(0, netSession->inbound.count);  // the packets of the pass cut short are dropped
  close(listening);
}

// 128 places with the connection to itself: one more is accepted and closed at once. A stream
// that is not a session's is closed too, which frees its place for the next connection.
TEST_F(SessionTest, ConnectionTableLimits) {
  const NetAddress to{htonl(INADDR_LOOPBACK), htons(Host())};
  std::vector<i32> clients;
  for (int i = 0; i < 128; ++i, usleep(1000)) clients.push_back(SocketConnect(&to));
  u8 byte = 0;
  EXPECT_EQ(0, Soon(-2, [&] { return SocketReceive(clients.back(), &byte, 1); }));
  SocketSend(clients[0], "\x03\x01\x04\0\0\0\0", 7, nullptr);  // 1025 payload bytes
  EXPECT_EQ(0, Soon(-2, [&] { return SocketReceive(clients[0], &byte, 1); }));
  NetSession* late = NetCreateSession();
  EXPECT_TRUE(NetJoinSession(*late, "127.0.0.1", ntohs(to.port)));
  DeleteNetSession(late);
}

// Every message reaches every intended player exactly once and in order per sender; a text says
// its sequence number and its addressee's index (-1: everyone).
TEST_F(SessionTest, LoadOf32JoinedPrograms) {
  using Clock = std::chrono::steady_clock;
  constexpr int kPrograms = 32, kMessages = 10000;
  const u16 port = Host();
  std::vector<NetSession*> programs;
  std::vector<u16> ids;
  for (int i = 0; i < kPrograms; ++i) {
    programs.push_back(NetCreateSession());
    ASSERT_TRUE(NetJoinSession(*programs.back(), "127.0.0.1", port));
    ids.push_back(NetRegisterPlayer(*programs.back(), "p"));
  }
  std::vector<Clock::time_point> sentAt(kMessages);
  std::vector<int> last(kPrograms * kPrograms, -1);  // [receiver][sender]: the last sequence
  std::size_t expected = 0, received = 0;
  Clock::duration longest{};
  auto drain = [&] {
    DynString text;
    u16 sender = 0;
    for (int r = 0; r < kPrograms; ++r) {
      while (NetTakeMessage(*programs[r], ids[r], text, sender)) {
        int seq = -1, to = -2;
        std::sscanf(text.CStr(), "%d %d", &seq, &to);
        int& previous = last[r * kPrograms + seq % kPrograms];
        ASSERT_TRUE(seq >= 0 && ids[seq % kPrograms] == sender && seq > previous &&
                    (to == r || (to == -1 && seq % kPrograms != r)))
            << text.CStr() << " at " << r << " after " << previous;
        previous = seq;
        longest = std::max(longest, Clock::now() - sentAt[seq]);
        ++received;
      }
    }
  };
  const Clock::time_point start = Clock::now();
  for (int seq = 0; seq < kMessages; ++seq) {
    const int from = seq % kPrograms;
    const int to = seq % 8 == 0 ? -1 : (from + 1 + seq / kPrograms % (kPrograms - 1)) % kPrograms;
    const std::string text = std::to_string(seq) + " " + std::to_string(to);
    sentAt[seq] = Clock::now();
    ASSERT_TRUE(NetSendMessage(*programs[from], ids[from], to < 0 ? 0 : ids[to], text.c_str(),
                               static_cast<i32>(text.size())));
    expected += to < 0 ? kPrograms - 1 : 1;
    if (seq % 32 == 31) drain();
  }
  while (received < expected && Clock::now() - start < std::chrono::seconds(60)) {
    drain();
    usleep(1000);
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  usleep(50000);
  drain();  // nothing more comes
  EXPECT_EQ(expected, received);
  std::printf("load: %d messages, %zu deliveries in %.2f s: %.0f messages/s, longest %.1f ms\n",
              kMessages, received, seconds, kMessages / seconds,
              std::chrono::duration<double, std::milli>(longest).count());
  for (NetSession* program : programs) DeleteNetSession(program);
}

// Leave packets for the registered local players only, then every list freed once (the sanitizer
// build checks the frees) and the socket layer shut down.
TEST_F(SessionTest, ShutdownSendsLeavePacketsAndFreesEverything) {
  int fds[2];
  ASSERT_EQ(0, socketpair(AF_UNIX, SOCK_STREAM, 0, fds));
  SocketSystemInit();
  socketTable.slots[12].fd = fds[0];
  netSession->hostSocket = 12;
  for (u16 id : {101, 0xFFFE, 0x1234, 0xFFFC, 0, 0xFEFF, 0xFF00}) {
    netSession->localPlayers.Append(new PlayerRecord);
    netSession->localPlayers.tail->id = id;
  }
  netSession->localPlayers.head->messages.Append(new PacketNode);
  netSession->hostPlayers.Append(new PlayerRecord);
  netSession->inbound.Append(new PacketNode);
  netSession->replies.Append(new PacketNode);
  netSession->leftIds.Append(new LeftIdNode);
  NetShutdownSession();
  EXPECT_EQ(nullptr, netSession);
  EXPECT_EQ(-1, socketTable.slots[12].fd);  // the host socket is closed
  EXPECT_EQ(0u, socketTable.initCount);
  NetShutdownSession();  // nothing left to do
  std::string wire(64, '\0');
  wire.resize(static_cast<std::size_t>(read(fds[1], wire.data(), wire.size())));  // all sent before
  // Type 4, no payload, target 0, the id as sender, the end byte.
  EXPECT_EQ(LE(4, 5) + LE(101, 3) + LE(4, 5) + LE(0x1234, 3) + LE(4, 5) + LE(0xFEFF, 3), wire);
  close(fds[1]);
}

// The worker's pass ends in a sleep: this one holds the worker until the test opens the gate. The
// clock runs a second a look, so a stop that waited a bounded time would give up at once.
std::thread::id testThread;
std::atomic<bool> atGate = false, gateOpen = false;
std::atomic<u32> steppingMs = 0;
void GatedSleep(u64, u64) {
  if (std::this_thread::get_id() == testThread) return;
  atGate = true;
  for (int i = 0; i < 100000 && !gateOpen; ++i) usleep(100);
}
u32 SteppingClock() { return steppingMs += 1000; }

// The stop waits for the worker's thread to end, however long that takes.
TEST_F(SessionTest, StopWaitsForTheWorker) {
  const PlatformOps real = Platform();
  testThread = std::this_thread::get_id();
  atGate = gateOpen = false;
  Platform().sleepNs = GatedSleep;
  Platform().ticksMs = SteppingClock;
  Host();
  for (int i = 0; i < 100000 && !atGate; ++i) usleep(100);
  std::atomic<int> stage = 1;
  std::thread opener([&] {
    usleep(50000);
    stage = 2;
    gateOpen = true;
  });
  NetStopSession();
  EXPECT_EQ(2, stage);
  EXPECT_EQ(0, NetIsRunning());
  opener.join();
  Platform() = real;
  // A stop right after a start is not lost. A worker that lost it would run on and the stop would
  // wait for ever: the child ends itself after 20 s instead.
  const ChildResult child = RunInChild([] {
    alarm(20);
    for (int i = 0; i < 20; ++i) {
      NetHostSession(*netSession, 0);
      NetStopSession();
    }
    std::printf("stopped");
  });
  EXPECT_EQ("stopped", child.output);
}

// Every command gives its failure value when the runtime has no session.
TEST_F(SessionTest, CommandsWithoutASession) {
  NetSession* session = netSession;
  netSession = nullptr;
  const DynString name("ann");
  const i32 results[] = {NetHostSession(0),        NetJoinSession(DynString("127.0.0.1"), 1),
                         NetIsRunning(),           NetRegisterPlayerCommand(name),
                         NetSendMessage(1, 2, name), NetCountPlayers(),
                         NetGetPlayerId(0),        NetTakeLeftPlayer()};
  for (i32 result : results) EXPECT_EQ(0, result);
  NetStopSession();
  NetSetAcceptPlayers(0);
  NetLeavePlayer(101);
  EXPECT_STREQ("", NetTakeMessage(101).CStr());
  EXPECT_STREQ("NO_DATA", NetGetPlayerName(101).CStr());
  netSession = session;
}

}  // namespace

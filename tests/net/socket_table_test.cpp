// The network layer: sending, closing and the use count on socket pairs placed into the table;
// releasing the session (the leave packets, every list freed once, and the stop of a worker that
// ends on request or never does).
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "core/runtime_globals.h"
#include "net/net_session.h"
#include "net/socket_table.h"
#include "platform/platform_ops.h"
#include "tests/support/test_support.h"

namespace {

class SocketTableTest : public testing::Test {
 protected:
  void SetUp() override {
    socketTable.initCount = 0;
    SocketSystemInit();
  }
  void TearDown() override {
    socketTable.initCount = 1;
    SocketSystemShutdown();
    if (peer_ != -1) close(peer_);
  }
  // A connected non-blocking stream pair: one end in the table at `slot`, the other returned.
  int PlacePair(i32 slot) {
    int fds[2];
    EXPECT_EQ(0, socketpair(AF_UNIX, SOCK_STREAM, 0, fds));
    fcntl(fds[0], F_SETFL, O_NONBLOCK);
    socketTable.slots[slot].fd = fds[0];
    return peer_ = fds[1];
  }
  int peer_ = -1;
};

std::string ReadBytes(int fd, std::size_t count) {
  std::string bytes(count, '\0');
  std::size_t got = 0;
  for (ssize_t n; got < count && (n = read(fd, bytes.data() + got, count - got)) > 0;) got += n;
  bytes.resize(got);
  return bytes;
}

TEST_F(SocketTableTest, RefusedSends) {
  PlacePair(3);
  socketTable.slots[4] = socketTable.slots[3];
  socketTable.slots[4].datagram = 1;
  const NetAddress none{};
  const struct {
    i32 slot, length;
    const NetAddress* to;
    i32 expected;
  } rows[] = {
      {-1, 3, nullptr, -1}, {kSocketSlotCount, 3, nullptr, -1}, {5, 3, nullptr, -1},  // no slot
      {4, 3, nullptr, -1},  {4, 3, &none, -1},  // a datagram needs a destination
      {3, 0, nullptr, 0},   {3, -8, nullptr, 0},
  };
  for (const auto& row : rows) EXPECT_EQ(row.expected, SocketSend(row.slot, "abc", row.length, row.to)) << row.slot;
  socketTable.slots[4] = SocketSlot{};
}

TEST_F(SocketTableTest, FullSocketWaitsForTheReaderButNotForEver) {
  const int peer = PlacePair(2);
  std::string big(300000, 'q');  // several socket buffers
  for (std::size_t i = 0; i < big.size(); i += 977) big[i] = static_cast<char>(i);
  std::string received;
  std::thread reader([&] { received = ReadBytes(peer, big.size()); });
  EXPECT_EQ(300000, SocketSend(2, big.data(), 300000, nullptr));
  reader.join();
  EXPECT_EQ(big, received);

  PlacePair(5);                   // nobody reads the other end
  ScopedFakeClock clock(0, 500);  // each look at the clock: half a second later
  const std::string huge(4 << 20, 'z');
  EXPECT_EQ(-1, SocketSend(5, huge.data(), static_cast<i32>(huge.size()), nullptr));
  EXPECT_EQ(EAGAIN, socketTable.lastError);
  EXPECT_GE(clock.Now(), 2000u);
  close(peer);
}

TEST_F(SocketTableTest, SendToAClosedPeerFailsWithoutEndingTheProcess) {
  const ChildResult child = RunInChild([this] {
    close(PlacePair(1));
    const i32 result = SocketSend(1, "hello", 5, nullptr);
    std::printf("%d %d\n", result, socketTable.lastError);
  });
  EXPECT_EQ(0, child.exitStatus);
  EXPECT_EQ("-1 " + std::to_string(EPIPE) + "\n", child.output);
}

TEST_F(SocketTableTest, CloseAndShutdownFreeSlots) {
  const int first = PlacePair(7);
  EXPECT_EQ(0, SocketClose(7));
  EXPECT_EQ("", ReadBytes(first, 1));  // the peer sees the end
  for (i32 slot : {7, -1, kSocketSlotCount}) EXPECT_EQ(-1, SocketClose(slot)) << slot;
  close(first);
  const int second = PlacePair(9);
  SocketSystemInit();  // a second user: only the last one frees the slots
  SocketSystemShutdown();
  EXPECT_NE(-1, socketTable.slots[9].fd);
  SocketSystemShutdown();
  EXPECT_EQ("", ReadBytes(second, 1));
  SocketSystemShutdown();  // none left: harmless
  EXPECT_EQ(0u, socketTable.initCount);
}

class NetSessionTest : public testing::Test {
 protected:
  void SetUp() override {
    socketTable.initCount = 0;
    netSession = NetCreateSession();
    ASSERT_NE(nullptr, netSession);
  }
  void TearDown() override { NetShutdownSession(); }
};

// Leave packets for the registered local players only, then every list freed once (the sanitizer
// build checks the frees) and the socket layer shut down.
TEST_F(NetSessionTest, ShutdownSendsLeavePacketsAndFreesEverything) {
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
  EXPECT_EQ(std::string("\x04\0\0\0\0\x65\x00\x00"
                        "\x04\0\0\0\0\x34\x12\x00"
                        "\x04\0\0\0\0\xFF\xFE\x00",
                        24),
            wire);
  close(fds[1]);
}

void* CooperativeWorker(void* argument) {
  auto* session = static_cast<NetSession*>(argument);
  for (;;) {
    LockMutex(&session->mutex);
    const bool stop = session->stopRequest != 0;
    if (stop) session->running = 0;
    UnlockMutex(&session->mutex);
    if (stop) return nullptr;
    YieldThread();
  }
}

TEST_F(NetSessionTest, ShutdownWaitsForTheWorkerButNotForEver) {
  netSession->running = 1;
  netSession->stopRequest = 0;
  const i32 worker = StartThread(CooperativeWorker, netSession, 1);
  ASSERT_GT(worker, 0);
  NetShutdownSession();
  EXPECT_EQ(nullptr, netSession);
  EXPECT_EQ(0, JoinThread(worker, nullptr));

  NetSession* session = NetCreateSession();
  session->running = 1;  // a worker that never clears its flag
  session->stopRequest = 0;
  netSession = session;
  {
    ScopedFakeClock clock(5000);
    NetShutdownSession();
    EXPECT_GE(clock.Now(), 7000u);  // gave up after about two seconds
    EXPECT_LE(clock.Now(), 7100u);
  }
  EXPECT_EQ(nullptr, netSession);
  EXPECT_EQ(0, LockMutex(&session->mutex));  // still allocated and usable by the worker
  EXPECT_EQ(0, UnlockMutex(&session->mutex));
  session->running = 0;  // once the worker has ended, the release goes through
  netSession = session;
}

}  // namespace

// Creating and releasing the network session: its starting values, the leave packets, and the
// stop of a worker that ends on request or never does.
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "core/runtime_globals.h"
#include "net/net_session.h"
#include "net/socket_table.h"
#include "platform/platform_ops.h"
#include "tests/support/test_support.h"

namespace {

class NetSessionTest : public testing::Test {
 protected:
  void SetUp() override {
    socketTable.initCount = 0;
    netSession = NetCreateSession();
    ASSERT_NE(nullptr, netSession);
  }
  void TearDown() override {
    NetShutdownSession();
    ResetPlatformOps();
  }
  static void AddLocalPlayer(u16 id) {
    auto* record = new PlayerRecord;
    record->id = id;
    netSession->localPlayers.Append(record);
  }
};

TEST_F(NetSessionTest, StartsIdleWithAnErrorCheckingMutex) {
  const NetSession& s = *netSession;
  EXPECT_EQ((std::vector<int>{101, 0, -1, -1, 1, 0, 1, 0}),
            (std::vector<int>{s.nextId, s.ownId, s.listenSocket, s.hostSocket, s.stopRequest,
                              s.running, s.acceptPlayers, s.keepLeftIds}));
  EXPECT_EQ(0, s.localPlayers.count + s.hostPlayers.count + s.inbound.count + s.replies.count +
                   s.leftIds.count);
  MutexHandle mutex = s.mutex;
  EXPECT_EQ(0, LockMutex(&mutex));
  EXPECT_EQ(EDEADLK, LockMutex(&mutex));
  EXPECT_EQ(0, UnlockMutex(&mutex));
}

TEST_F(NetSessionTest, ShutdownFreesEveryListOnce) {
  AddLocalPlayer(101);
  netSession->localPlayers.head->messages.Append(new PacketNode);
  netSession->hostPlayers.Append(new PlayerRecord);
  netSession->inbound.Append(new PacketNode);
  netSession->replies.Append(new PacketNode);
  netSession->leftIds.Append(new LeftIdNode);
  NetShutdownSession();  // no host socket: nothing sent; the sanitizer build checks the frees
  EXPECT_EQ(nullptr, netSession);
  NetShutdownSession();
  EXPECT_EQ(0u, socketTable.initCount);
}

TEST_F(NetSessionTest, RegisteredLocalPlayersSendLeavePackets) {
  int fds[2];
  ASSERT_EQ(0, socketpair(AF_UNIX, SOCK_STREAM, 0, fds));
  SocketSystemInit();
  socketTable.slots[12].fd = fds[0];
  netSession->hostSocket = 12;
  for (u16 id : {101, 0xFFFE, 0x1234, 0xFFFC, 0, 0xFEFF, 0xFF00}) AddLocalPlayer(id);

  NetShutdownSession();
  EXPECT_EQ(-1, socketTable.slots[12].fd);  // the host socket is closed
  std::string wire(64, '\0');
  std::size_t got = 0;
  for (ssize_t n; (n = read(fds[1], wire.data() + got, wire.size() - got)) > 0;) got += n;
  wire.resize(got);
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

TEST_F(NetSessionTest, ShutdownWaitsForTheWorker) {
  netSession->running = 1;
  netSession->stopRequest = 0;
  const i32 worker = StartThread(CooperativeWorker, netSession, 1);
  ASSERT_GT(worker, 0);
  NetShutdownSession();
  EXPECT_EQ(nullptr, netSession);
  EXPECT_EQ(0, JoinThread(worker, nullptr));
}

TEST_F(NetSessionTest, StuckWorkerIsGivenUpOnWithoutFreeingItsSession) {
  NetSession* session = netSession;
  session->running = 1;  // a worker that never clears its flag
  session->stopRequest = 0;
  {
    ScopedFakeClock clock(5000);
    NetShutdownSession();
    EXPECT_GE(clock.Now(), 7000u);  // gave up after about two seconds
    EXPECT_LE(clock.Now(), 7100u);
  }
  EXPECT_EQ(nullptr, netSession);
  MutexHandle mutex = session->mutex;  // still allocated and usable by the worker
  EXPECT_EQ(0, LockMutex(&mutex));
  EXPECT_EQ(0, UnlockMutex(&mutex));
  session->running = 0;  // once the worker has ended, the release goes through
  netSession = session;
}

}  // namespace

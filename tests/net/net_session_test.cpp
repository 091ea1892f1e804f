// Creating and releasing the network session: its starting values, the leave packets, and the
// stop of a worker that ends on request or never does.
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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
    socketTable.initCount = 0;
    SocketSystemShutdown();
  }
  static void AddLocalPlayer(u16 id) {
    auto* record = new PlayerRecord;
    record->id = id;
    netSession->localPlayers.Append(record);
  }
};

TEST_F(NetSessionTest, StartsIdle) {
  const NetSession& s = *netSession;
  EXPECT_EQ(101, s.nextId);
  EXPECT_EQ(0, s.ownId);
  EXPECT_EQ(-1, s.listenSocket);
  EXPECT_EQ(-1, s.hostSocket);
  EXPECT_EQ(1, s.stopRequest);
  EXPECT_EQ(0, s.running);
  EXPECT_EQ(1, s.acceptPlayers);
  EXPECT_EQ(0, s.keepLeftIds);
  for (i32 count : {s.localPlayers.count, s.hostPlayers.count, s.inbound.count, s.replies.count,
                    s.leftIds.count}) {
    EXPECT_EQ(0, count);
  }
  MutexHandle mutex = s.mutex;
  EXPECT_EQ(0, LockMutex(&mutex));
  EXPECT_EQ(EDEADLK, LockMutex(&mutex));  // the error-checking kind
  EXPECT_EQ(0, UnlockMutex(&mutex));
}

TEST_F(NetSessionTest, ShutdownReleasesEverythingOnce) {
  AddLocalPlayer(101);
  netSession->localPlayers.head->messages.Append(new PacketNode);
  netSession->hostPlayers.Append(new PlayerRecord);
  netSession->inbound.Append(new PacketNode);
  netSession->replies.Append(new PacketNode);
  netSession->leftIds.Append(new LeftIdNode);
  NetShutdownSession();  // no host socket: no leave packet; the lists are freed (ASan checks)
  EXPECT_EQ(nullptr, netSession);
  NetShutdownSession();  // nothing left
  EXPECT_EQ(nullptr, netSession);
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
  EXPECT_EQ(nullptr, netSession);
  EXPECT_EQ(-1, socketTable.slots[12].fd);  // the host socket is closed

  std::string wire(64, '\0');
  std::size_t got = 0;
  for (ssize_t n; (n = read(fds[1], wire.data() + got, wire.size() - got)) > 0;) {
    got += static_cast<std::size_t>(n);
  }
  wire.resize(got);
  const std::string expected("\x04\0\0\0\0\x65\x00\x00"
                             "\x04\0\0\0\0\x34\x12\x00"
                             "\x04\0\0\0\0\xFF\xFE\x00",
                             24);
  EXPECT_EQ(expected, wire);
  close(fds[1]);
}

struct WorkerArgs {
  NetSession* session;
};

void* CooperativeWorker(void* argument) {
  NetSession* session = static_cast<WorkerArgs*>(argument)->session;
  for (;;) {
    LockMutex(&session->mutex);
    if (session->stopRequest != 0) {
      session->running = 0;
      UnlockMutex(&session->mutex);
      return nullptr;
    }
    UnlockMutex(&session->mutex);
    YieldThread();
  }
}

TEST_F(NetSessionTest, ShutdownWaitsForTheWorker) {
  netSession->running = 1;
  netSession->stopRequest = 0;
  WorkerArgs args{netSession};
  const i32 worker = StartThread(CooperativeWorker, &args, 1);
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
  // Still allocated and intact: a live worker could go on using it.
  EXPECT_EQ(1, session->stopRequest);
  MutexHandle mutex = session->mutex;
  EXPECT_EQ(0, LockMutex(&mutex));
  EXPECT_EQ(0, UnlockMutex(&mutex));
  // Once the worker has ended, the release goes through.
  session->running = 0;
  netSession = session;
}

TEST(NetSessionStop, StopResetsIdsAndClosesSockets) {
  socketTable.initCount = 0;
  SocketSystemInit();
  int fds[2];
  ASSERT_EQ(0, socketpair(AF_UNIX, SOCK_STREAM, 0, fds));
  socketTable.slots[20].fd = fds[0];
  NetSession* session = NetCreateSession();
  ASSERT_NE(nullptr, session);
  session->listenSocket = 20;
  session->nextId = 140;
  session->ownId = 103;
  session->acceptPlayers = 0;
  EXPECT_TRUE(StopNetSession(*session));
  EXPECT_EQ(-1, session->listenSocket);
  EXPECT_EQ(-1, socketTable.slots[20].fd);
  EXPECT_EQ(101, session->nextId);
  EXPECT_EQ(0, session->ownId);
  EXPECT_EQ(1, session->acceptPlayers);
  EXPECT_EQ(0u, socketTable.initCount);
  DestroyMutex(&session->mutex);
  delete session;
  close(fds[1]);
}

}  // namespace

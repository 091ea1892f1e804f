// Releasing the network session: the leave packets, every list freed once, and the stop of a
// worker that never ends.
#include <sys/socket.h>
#include <unistd.h>

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

// A worker that stops on request is met by the loopback tests; this one never does.
TEST_F(NetSessionTest, ShutdownWaitsForTheWorkerButNotForEver) {
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
  EXPECT_EQ(0, LockMutex(&session->mutex));  // still allocated and usable by the worker
  EXPECT_EQ(0, UnlockMutex(&session->mutex));
  session->running = 0;  // once the worker has ended, the release goes through
  netSession = session;
}

}  // namespace

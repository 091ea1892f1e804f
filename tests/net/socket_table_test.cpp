// Sending, closing and the layer's use count, on socket pairs placed into the table.
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

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
    ResetPlatformOps();
    socketTable.initCount = 1;
    SocketSystemShutdown();
    for (int fd : peers_) close(fd);
  }
  // A connected stream pair: one end in the table at `slot`, the other end returned.
  int PlaceStreamPair(i32 slot, int type = SOCK_STREAM) {
    int fds[2];
    EXPECT_EQ(0, socketpair(AF_UNIX, type, 0, fds));
    socketTable.slots[slot].fd = fds[0];
    socketTable.slots[slot].datagram = 0;
    peers_.push_back(fds[1]);
    return fds[1];
  }
  std::vector<int> peers_;
};

std::string ReadAvailable(int fd, std::size_t count) {
  std::string bytes(count, '\0');
  std::size_t got = 0;
  while (got < count) {
    const ssize_t n = read(fd, bytes.data() + got, count - got);
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return bytes;
}

TEST_F(SocketTableTest, RefusedSends) {
  PlaceStreamPair(3);
  socketTable.slots[4].fd = socketTable.slots[3].fd;  // shares the descriptor, marked datagram
  socketTable.slots[4].datagram = 1;
  const NetAddress none{};
  const char bytes[] = "abc";
  const struct {
    const char* name;
    i32 slot;
    i32 length;
    const NetAddress* to;
    i32 expected;
  } rows[] = {
      {"below the table", -1, 3, nullptr, -1},
      {"past the table", kSocketSlotCount, 3, nullptr, -1},
      {"free slot", 5, 3, nullptr, -1},
      {"datagram without destination", 4, 3, nullptr, -1},
      {"datagram to no address", 4, 3, &none, -1},
      {"nothing to send", 3, 0, nullptr, 0},
      {"negative length", 3, -8, nullptr, 0},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.expected, SocketSend(row.slot, bytes, row.length, row.to)) << row.name;
  }
  socketTable.slots[4] = SocketSlot{};
}

TEST_F(SocketTableTest, StreamSendDeliversTheWholeBuffer) {
  const int peer = PlaceStreamPair(2);
  std::string big(200000, 'q');  // more than one socket buffer: needs several sends
  for (std::size_t i = 0; i < big.size(); i += 977) big[i] = static_cast<char>(i);
  std::string received;
  std::thread reader([&] { received = ReadAvailable(peer, big.size()); });
  EXPECT_EQ(static_cast<i32>(big.size()),
            SocketSend(2, big.data(), static_cast<i32>(big.size()), nullptr));
  reader.join();
  EXPECT_EQ(big, received);
}

TEST_F(SocketTableTest, FullNonBlockingSocketWaitsForTheReader) {
  const int peer = PlaceStreamPair(2);
  fcntl(socketTable.slots[2].fd, F_SETFL, O_NONBLOCK);
  const std::string big(300000, 'z');
  std::string received;
  std::thread reader([&] { received = ReadAvailable(peer, big.size()); });
  EXPECT_EQ(static_cast<i32>(big.size()),
            SocketSend(2, big.data(), static_cast<i32>(big.size()), nullptr));
  reader.join();
  EXPECT_EQ(big.size(), received.size());
}

TEST_F(SocketTableTest, SocketThatStaysFullIsGivenUp) {
  PlaceStreamPair(2);  // nobody reads the other end
  fcntl(socketTable.slots[2].fd, F_SETFL, O_NONBLOCK);
  ScopedFakeClock clock(0, 500);  // each look at the clock: half a second later
  const std::string big(4 << 20, 'z');
  EXPECT_EQ(-1, SocketSend(2, big.data(), static_cast<i32>(big.size()), nullptr));
  EXPECT_EQ(EAGAIN, socketTable.lastError);
  EXPECT_GE(clock.Now(), 2000u);
}

TEST_F(SocketTableTest, SendToAClosedPeerFailsWithoutEndingTheProcess) {
  const ChildResult child = RunInChild([this] {
    const int peer = PlaceStreamPair(1);
    close(peer);
    peers_.clear();
    const i32 result = SocketSend(1, "hello", 5, nullptr);
    std::printf("%d %d\n", result, socketTable.lastError);
  });
  EXPECT_EQ(0, child.exitStatus);
  EXPECT_EQ("-1 " + std::to_string(EPIPE) + "\n", child.output);
}

TEST_F(SocketTableTest, CloseFreesTheSlot) {
  const int peer = PlaceStreamPair(7);
  EXPECT_EQ(0, SocketClose(7));
  EXPECT_EQ(-1, socketTable.slots[7].fd);
  char byte = 0;
  EXPECT_EQ(0, read(peer, &byte, 1));  // the peer sees the end
  EXPECT_EQ(-1, SocketClose(7));       // already free
  EXPECT_EQ(EBADF, socketTable.lastError);
  EXPECT_EQ(-1, SocketClose(-1));
  EXPECT_EQ(-1, SocketClose(kSocketSlotCount));
}

TEST_F(SocketTableTest, OnlyTheLastUserFreesTheSlots) {
  const int peer = PlaceStreamPair(9);
  SocketSystemInit();  // a second user
  SocketSystemShutdown();
  EXPECT_NE(-1, socketTable.slots[9].fd);
  SocketSystemShutdown();
  EXPECT_EQ(-1, socketTable.slots[9].fd);
  EXPECT_EQ(0u, socketTable.initCount);
  char byte = 0;
  EXPECT_EQ(0, read(peer, &byte, 1));
  SocketSystemShutdown();  // with no user left: harmless
  EXPECT_EQ(0u, socketTable.initCount);
}

}  // namespace

// Sending, closing and the layer's use count, on socket pairs placed into the table.
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <thread>

#include "net/socket_table.h"
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

}  // namespace

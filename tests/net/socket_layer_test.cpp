// The socket layer over loopback: opening, accepting and receiving, the commands' address forms,
// bad slots, and a full table. Every socket binds and connects on 127.0.0.1 on ports the system
// hands out; host names come from an injected lookup, never from DNS.
#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "net/socket_commands.h"
#include "net/socket_table.h"
#include "tests/support/test_support.h"

namespace {

constexpr i32 kLoopback = 0x7F000001;  // 127.0.0.1 in host order

i32 MachineLookup(const char* name, std::vector<u32>& ips) {
  ips.clear();
  if (std::string(name) == "no.such.host") return ENXIO;
  for (u32 ip : {0x0100007Fu, 0x0700000Au, 0x0201A8C0u}) ips.push_back(ip);  // 127.0.0.1, 10.0.0.7, 192.168.1.2
  return 0;
}

class SocketLayerTest : public testing::Test {
 protected:
  void SetUp() override {
    socketTable.initCount = 0;
    SocketInitCommand();
    socketTable.settings.bindIp = htonl(kLoopback);
  }
  void TearDown() override {
    SocketShutdownCommand();
    socketTable.settings = SocketSettings{};
  }
};

std::size_t OpenDescriptors() {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                                std::filesystem::directory_iterator{}));
}

TEST_F(SocketLayerTest, StreamOverLoopback) {
  const i32 listening = SocketListenCommand(0);
  ASSERT_GE(listening, 0);
  const i32 port = SocketLocalPort(listening);
  u32 peerIp = 0;
  EXPECT_EQ(-1, AcceptConnection(listening, peerIp));  // nothing pending
  const i32 client = ConnectToHost(DynString("127.0.0.1"), port + 0x10000);  // low 16 bits
  ASSERT_GE(client, 0);
  const i32 server = AcceptConnection(listening, peerIp);
  ASSERT_GE(server, 0);
  EXPECT_EQ(0x0100007Fu, peerIp);  // first octet in the least significant byte
  DynString text("stale");
  EXPECT_EQ(-2, SocketReceiveString(server, text, 16));
  EXPECT_EQ(0u, text.Length());
  EXPECT_EQ(6, SocketSendString(client, DynString::FromBytes("ab\0cde", 6)));
  for (int i = 0; i < 1000 && SocketReceiveString(server, text, 4) == -2; ++i) usleep(1000);
  EXPECT_EQ("ab", std::string(text.CStr()));  // 4 bytes arrived; the text ends at the zero byte
  EXPECT_EQ(1, SocketCloseCommand(client));
  i32 last = -2;
  for (int i = 0; i < 1000 && (last = SocketReceiveString(server, text, 8)) != 0; ++i) usleep(1000);
  EXPECT_EQ(0, last);  // "de", then the close
  EXPECT_EQ(0, SocketCloseCommand(client));  // already closed
}

TEST_F(SocketLayerTest, DatagramOverLoopback) {
  const i32 receiver = SocketOpenUdpCommand(0);
  const i32 sender = SocketOpenUdpCommand(0);
  EXPECT_EQ(0, SocketLocalPort(receiver));  // port 0: not bound until the first send
  EXPECT_EQ(-1, SocketSendString(receiver, DynString("x")));  // a datagram needs a destination
  EXPECT_EQ(1, SocketSendStringTo(receiver, DynString("x"), kLoopback, 9));
  const i32 port = SocketLocalPort(receiver);
  ASSERT_GT(port, 0);
  for (const char* word : {"first", "hello"}) {
    EXPECT_EQ(5, SocketSendStringTo(sender, DynString(word), kLoopback, port + 0x10000));
  }
  pollfd pending{socketTable.slots[receiver].fd, POLLIN, 0};
  ASSERT_EQ(1, poll(&pending, 1, 5000));
  char byte = 'x';
  EXPECT_EQ(0, SocketReceive(receiver, &byte, -5));  // a negative length reads no byte
  DynString text;
  for (int i = 0; i < 1000 && SocketReceiveString(receiver, text, 64) == -2; ++i) usleep(1000);
  EXPECT_EQ("hello", std::string(text.CStr()));
  const std::size_t open = OpenDescriptors();
  EXPECT_EQ(1, SocketCloseCommand(receiver));  // closing a datagram slot frees its descriptor
  EXPECT_EQ(open - 1, OpenDescriptors());
}

TEST_F(SocketLayerTest, BadSlotsAndLengths) {
  char byte = 0;
  NetAddress peer;
  for (i32 slot : {-1, 7, kSocketSlotCount, 1 << 30}) {  // outside the table, or free
    socketTable.lastError = 0;
    const i32 results[] = {SocketSend(slot, "a", 1, nullptr), SocketReceive(slot, &byte, 1),
                           SocketAccept(slot, &peer), SocketLocalPort(slot), SocketClose(slot)};
    for (i32 result : results) EXPECT_EQ(-1, result) << slot;
    EXPECT_EQ(EBADF, socketTable.lastError) << slot;
  }
  const i32 udp = SocketOpenUdp(0);
  EXPECT_EQ(-2, SocketReceive(udp, &byte, -5));  // a negative length reads nothing
  socketTable.lastError = 12345;
  peer = {1, 1};
  EXPECT_EQ(0, SocketSend(udp, "a", -3, &peer));
  EXPECT_EQ(12345, socketTable.lastError);  // no system call was made
  socketTable.lastError = 99;
  EXPECT_EQ(-1, SocketAccept(udp, &peer));
  EXPECT_EQ(0, socketTable.lastError);
}

TEST_F(SocketLayerTest, TableFullCreatesNoSocket) {
  rlimit limit{};
  getrlimit(RLIMIT_NOFILE, &limit);
  limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, 4096);
  setrlimit(RLIMIT_NOFILE, &limit);
  ASSERT_GE(limit.rlim_cur, 1100u) << "the descriptor limit is too low for a full table";
  for (i32 i = 0; i < kSocketSlotCount; ++i) ASSERT_EQ(i, SocketOpenUdp(0));
  const std::size_t open = OpenDescriptors();
  for (i32 slot : {SocketOpenUdp(0), SocketListen(0), ConnectToHost(DynString("127.0.0.1"), 1)}) {
    EXPECT_EQ(-1, slot);
    EXPECT_EQ(12, socketTable.lastError);
  }
  EXPECT_EQ(open, OpenDescriptors());
  SocketInitCommand();  // a second user's stop leaves the sockets
  SocketShutdownCommand();
  EXPECT_EQ(open, OpenDescriptors());
  socketTable.initCount = 0;  // left open with no user: the next start closes them
  SocketInitCommand();
  EXPECT_EQ(open - kSocketSlotCount, OpenDescriptors());
}

TEST_F(SocketLayerTest, AddressesAndTexts) {
  socketTable.settings.lookup = MachineLookup;
  EXPECT_EQ("10.0.0.7|192.168.1.2", std::string(OwnIpAddressList().CStr()));
  u32 count = 0;
  EXPECT_STREQ("10.0.0.7\n192.168.1.2\n", ListOwnIpAddresses(&count, "\n"));
  EXPECT_EQ(2u, count);
  EXPECT_EQ(0x0A000007, HostNameToIp(DynString("")));  // the first own address outside 127.x
  socketTable.settings.ownIpOverride = htonl(kLoopback);
  EXPECT_EQ(kLoopback, HostNameToIp(DynString("")));
  EXPECT_EQ(-1, HostNameToIp(DynString("no.such.host")));
  EXPECT_EQ("6 No such device or address", std::string(LastSocketErrorText().CStr()));
  EXPECT_EQ(-1, ConnectToHost(DynString("no.such.host"), 80));
  EXPECT_EQ(-1, socketTable.slots[0].fd);  // no socket was made
  socketTable.settings.lookup = PlatformHostLookup;
  EXPECT_EQ(kLoopback, HostNameToIp(DynString("127.0.0.1")));
  EXPECT_EQ("192.168.1.2", std::string(IpToText(static_cast<i32>(0xC0A80102u)).CStr()));
  NetAddress address;
  MakeNetAddress(&address, 1, 2, 3, 4, 80);
  EXPECT_STREQ("4.3.2.1", NetAddressToText(&address));
  EXPECT_EQ(0x04030201u, NetAddressHostIp(&address));
  EXPECT_EQ(htons(80), address.port);
}

}  // namespace

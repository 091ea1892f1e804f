// The socket layer over loopback: streams and datagrams, full and closed peers, bad slots, a full
// table, the use count, and the commands' address forms. Every socket binds and connects on
// 127.0.0.1 on ports the system hands out; host names come from an injected lookup, never DNS.
#include <poll.h>
#include <resolv.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "net/socket_commands.h"
#include "net/socket_table.h"
#include "platform/platform_ops.h"
#include "tests/support/test_support.h"

namespace {

constexpr i32 kLoopback = 0x7F000001;  // 127.0.0.1 in host order

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
  // A connected stream: the client's slot in `client`, the accepted one returned.
  i32 Connect(i32& client) {
    const i32 listening = SocketListenCommand(0);
    client = ConnectToHost(DynString("127.0.0.1"), SocketLocalPort(listening) + 0x10000);
    const i32 server = AcceptConnection(listening, peerIp_);
    SocketClose(listening);
    return server;
  }
  u32 peerIp_ = 0;
};

// Whether some connection of this machine waits for the answer to its first packet to `port`.
bool ConnectPendingTo(u16 port) {
  std::ifstream table("/proc/net/tcp");
  std::string line, slot, local, remote, state;
  std::getline(table, line);  // the column names
  char wanted[8];
  std::snprintf(wanted, sizeof wanted, ":%04X", port);
  while (table >> slot >> local >> remote >> state && std::getline(table, line)) {
    if (remote.ends_with(wanted) && state == "02") return true;  // SYN_SENT
  }
  return false;
}

std::ptrdiff_t OpenDescriptors() {
  return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
}

// Repeats `call` while it gives `again`, for a second or so; its last result.
template <class Call>
i32 Until(i32 again, Call call) {
  i32 result = again;
  for (int i = 0; i < 1000 && (result = call()) == again; ++i) usleep(1000);
  return result;
}
i32 ReceiveSoon(i32 slot, DynString& text, i32 n) {
  return Until(-2, [&] { return SocketReceiveString(slot, text, n); });
}

TEST_F(SocketLayerTest, StreamOverLoopback) {
  u32 untouched = 7;
  EXPECT_EQ(-1, AcceptConnection(SocketListenCommand(0), untouched));  // nothing pending
  EXPECT_EQ(7u, untouched);
  i32 client = -1;
  const i32 server = Connect(client);  // the port's low 16 bits are used
  ASSERT_GE(server, 0);
  EXPECT_EQ(0x0100007Fu, peerIp_);  // first octet in the least significant byte
  DynString text("stale");
  EXPECT_EQ(-2, SocketReceiveString(server, text, 16));
  EXPECT_EQ(0u, text.Length());
  EXPECT_EQ(6, SocketSendString(client, DynString::FromBytes("ab\0cde", 6)));
  EXPECT_EQ(4, ReceiveSoon(server, text, 4));
  EXPECT_EQ("ab", std::string(text.CStr()));  // the text ends at the zero byte
  EXPECT_EQ(1, SocketCloseCommand(client));
  EXPECT_EQ(2, ReceiveSoon(server, text, 1 << 30));
  EXPECT_LE(text.capacity, (1u << 20) + 8);    // a huge count takes at most 1 MiB of room
  EXPECT_EQ(0, ReceiveSoon(server, text, 8));  // then the close
  EXPECT_EQ(0, SocketCloseCommand(client));    // already closed
  const ChildResult child = RunInChild([&] {   // the peer is gone: no SIGPIPE ends the process
    const i32 sent = Until(1, [&] { return SocketSendString(server, DynString("x")); });
    std::printf("%d %d", sent, i32{socketTable.lastError});
  });
  EXPECT_EQ("-1 " + std::to_string(EPIPE), child.output);
}

// The clock the full socket's wait reads: every look moves it 1.5 s on and lets the reader take
// up to 256 KiB, so each wait ends in progress before the two seconds, though the send as a whole
// takes far longer. The look returns once the writer's socket has room again (or after a second
// at most): on a busy machine the reader's window update can lag behind its read, and a send that
// found no room yet would take a second look, 3 s after the first.
struct SlowReader {
  i32 slot = -1;
  i32 writer = -1;
  u32 nowMs = 0;
  std::size_t taken = 0;
};
SlowReader slowReader;
u32 SlowReaderClock() {
  slowReader.nowMs += 1500;
  char buffer[1 << 16];
  for (int i = 0; i < 4; ++i) {
    const i32 n = SocketReceive(slowReader.slot, buffer, sizeof buffer);
    if (n > 0) slowReader.taken += static_cast<std::size_t>(n);
  }
  pollfd room{socketTable.slots[slowReader.writer].fd, POLLOUT, 0};
  poll(&room, 1, 1000);
  return slowReader.nowMs;
}

TEST_F(SocketLayerTest, FullSocketWaitsForTheReaderButNotForEver) {
  i32 client = -1;
  const i32 server = Connect(client);
  std::string big(3 << 20, 'q');
  for (std::size_t i = 0; i < big.size(); i += 977) big[i] = static_cast<char>(i);
  std::string received;
  const timeval limit{20, 0};  // a reader that waits in vain gives up
  setsockopt(socketTable.slots[server].fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  // Buffers of a fixed size: grown by the system, they could take the slow part's whole send
  // without a single wait.
  const int buffered = 64 << 10;
  setsockopt(socketTable.slots[server].fd, SOL_SOCKET, SO_RCVBUF, &buffered, sizeof buffered);
  SocketLimitSendBuffer(client, buffered);
  SocketSetBlocking(server, true);
  std::thread reader([&] {
    std::vector<char> buffer(1 << 16);
    for (i32 n; received.size() < big.size() &&
                (n = SocketReceive(server, buffer.data(), 1 << 16)) > 0;) {
      received.append(buffer.data(), static_cast<std::size_t>(n));
    }
  });
  EXPECT_EQ(3 << 20, SocketSend(client, big.data(), 3 << 20, nullptr));
  reader.join();
  EXPECT_TRUE(big == received);
  SocketSetBlocking(server, false);
  slowReader = SlowReader{server, client, 0, 0};
  const auto realClock = Platform().ticksMs;
  Platform().ticksMs = SlowReaderClock;
  const std::string slow(8 << 20, 's');
  EXPECT_EQ(8 << 20, SocketSend(client, slow.data(), 8 << 20, nullptr));  // the wait restarts
  Platform().ticksMs = realClock;
  EXPECT_GE(slowReader.nowMs, 6000u);
  ScopedFakeClock clock(0, 500);  // each look at the clock: half a second later
  const std::string huge(16 << 20, 'z');  // nobody reads now
  EXPECT_EQ(-1, SocketSend(client, huge.data(), static_cast<i32>(huge.size()), nullptr));
  EXPECT_EQ(EAGAIN, socketTable.lastError);
  EXPECT_GE(clock.Now(), 2000u);
}

// A signal that interrupts a blocked receive, a blocked send to a full socket or a blocked
// connect does not end it: the call is made again, or its outcome waited for.
TEST_F(SocketLayerTest, InterruptedCallsAreRetried) {
  struct sigaction interrupt {}, saved{};
  interrupt.sa_handler = [](int) {};
  sigemptyset(&interrupt.sa_mask);  // and no SA_RESTART: the system call returns EINTR
  sigaction(SIGUSR1, &interrupt, &saved);
  i32 client = -1;
  const i32 server = Connect(client);
  SocketSetBlocking(server, true);
  std::atomic<i32> received{-5};
  std::thread reader([&] {
    char byte = 0;
    received = SocketReceive(server, &byte, 1);
  });
  for (int i = 0; i < 20; ++i, usleep(2000)) pthread_kill(reader.native_handle(), SIGUSR1);
  SocketSendString(client, DynString("x"));
  reader.join();
  EXPECT_EQ(1, received);
  // The writer blocks once the socket is full; the first signal ends its call with the bytes it
  // moved, the later ones find it waiting with none moved (EINTR). Then the reader drains it.
  SocketSetBlocking(client, true);
  SocketLimitSendBuffer(client, 64 << 10);
  const std::string big(1 << 20, 'w');
  std::atomic<i32> sent{-5};
  std::thread writer([&] { sent = SocketSend(client, big.data(), 1 << 20, nullptr); });
  pollfd room{socketTable.slots[client].fd, POLLOUT, 0};
  for (int i = 0; i < 5000 && poll(&room, 1, 0) != 0; ++i) usleep(1000);  // until it is full
  for (int i = 0; i < 20; ++i, usleep(2000)) pthread_kill(writer.native_handle(), SIGUSR1);
  SocketSetBlocking(server, false);
  std::string taken;
  std::vector<char> buffer(1 << 16);
  for (int i = 0; i < 100000 && taken.size() < big.size() && sent != -1; ++i) {
    const i32 n = SocketReceive(server, buffer.data(), 1 << 16);
    if (n > 0) taken.append(buffer.data(), static_cast<std::size_t>(n));
    if (n <= 0) usleep(100);
  }
  writer.join();
  EXPECT_EQ(1 << 20, sent);
  EXPECT_TRUE(big == taken);
  // A connect to a listener whose queue is full waits for its first packet to be sent again (a
  // second later); signalled all the while, it goes on waiting for the outcome.
  const int listening = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in at{AF_INET, 0, {htonl(kLoopback)}, {}};
  socklen_t size = sizeof at;
  bind(listening, reinterpret_cast<sockaddr*>(&at), size);
  listen(listening, 0);
  getsockname(listening, reinterpret_cast<sockaddr*>(&at), &size);
  const int queued = socket(AF_INET, SOCK_STREAM, 0);
  connect(queued, reinterpret_cast<sockaddr*>(&at), size);  // fills the queue
  std::atomic<i32> connected{-5};
  std::thread connector([&] {
    connected = ConnectToHost(DynString("127.0.0.1"), ntohs(at.sin_port) + 0x10000);
  });
  std::thread signaller([&] {
    for (int i = 0; i < 2000 && connected == -5; ++i, usleep(5000)) {
      pthread_kill(connector.native_handle(), SIGUSR1);
    }
  });
  for (int i = 0; i < 5000 && connected == -5 && !ConnectPendingTo(ntohs(at.sin_port)); ++i) {
    usleep(1000);
  }
  close(accept(listening, nullptr, nullptr));  // room for the connect's second try
  signaller.join();
  connector.join();
  sigaction(SIGUSR1, &saved, nullptr);
  EXPECT_GE(connected, 0);
  close(queued);
  close(listening);
}

TEST_F(SocketLayerTest, DatagramOverLoopback) {
  const i32 receiver = SocketOpenUdpCommand(0);
  const i32 sender = SocketOpenUdpCommand(0);
  EXPECT_EQ(0, SocketLocalPort(receiver));  // port 0: not bound until the first send
  EXPECT_EQ(-1, SocketSendString(receiver, DynString("x")));  // a datagram needs a destination
  EXPECT_EQ(-1, SocketSendStringTo(receiver, DynString("x"), 0, 0));
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
  EXPECT_EQ(5, ReceiveSoon(receiver, text, 64));
  EXPECT_EQ("hello", std::string(text.CStr()));
  const std::ptrdiff_t open = OpenDescriptors();
  EXPECT_EQ(1, SocketCloseCommand(receiver));  // closing a datagram slot frees its descriptor
  EXPECT_EQ(open - 1, OpenDescriptors());
}

TEST_F(SocketLayerTest, BadSlotsAndLengths) {
  char byte = 0;
  NetAddress peer{1, 1};
  for (i32 slot : {-1, 7, kSocketSlotCount, 1 << 30}) {  // outside the table, or free
    socketTable.lastError = 0;
    const i32 results[] = {SocketSend(slot, "a", 1, nullptr), SocketReceive(slot, &byte, 1),
                           SocketAccept(slot, &peer), SocketLocalPort(slot), SocketClose(slot)};
    for (i32 result : results) EXPECT_EQ(-1, result) << slot;
    EXPECT_EQ(EBADF, socketTable.lastError) << slot;
  }
  const i32 udp = SocketOpenUdp(0);
  EXPECT_EQ(-2, SocketReceive(udp, &byte, -5));
  socketTable.lastError = 12345;
  EXPECT_EQ(0, SocketSend(udp, "a", 0, &peer) + SocketSend(udp, "a", -3, &peer));
  EXPECT_EQ(12345, socketTable.lastError);  // no system call was made
  socketTable.lastError = 99;
  EXPECT_EQ(-1, SocketAccept(udp, &peer));
  EXPECT_EQ(0, socketTable.lastError);
}

TEST_F(SocketLayerTest, FullTableAndUseCount) {
  rlimit limit{};
  getrlimit(RLIMIT_NOFILE, &limit);
  limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, 4096);
  ASSERT_TRUE(setrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur > 1100) << "too few fds";
  for (i32 i = 0; i < kSocketSlotCount; ++i) ASSERT_EQ(i, SocketOpenUdp(0));
  const std::ptrdiff_t open = OpenDescriptors();
  for (i32 slot : {SocketOpenUdp(0), SocketListen(0), ConnectToHost(DynString("127.0.0.1"), 1)}) {
    EXPECT_EQ(-1, slot);
    EXPECT_EQ(12, socketTable.lastError);
  }
  EXPECT_EQ(open, OpenDescriptors());
  SocketInitCommand();  // a second user's stop leaves the sockets
  SocketShutdownCommand();
  EXPECT_EQ(open, OpenDescriptors());
  SocketShutdownCommand();  // the last one closes them all
  EXPECT_EQ(open - kSocketSlotCount, OpenDescriptors());
  SocketShutdownCommand();  // none left: harmless
  EXPECT_EQ(0u, socketTable.initCount);
  SocketOpenUdp(0);  // left open with no user: the next start closes it
  SocketInitCommand();
  EXPECT_EQ(open - kSocketSlotCount, OpenDescriptors());
}

i32 MachineLookup(const char* name, std::vector<u32>& ips) {
  if (std::string(name) == "no.such.host") return ENXIO;
  ips = {0x0100007F, 0x0700000A, 0x0201A8C0};  // 127.0.0.1, 10.0.0.7, 192.168.1.2
  return 0;
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
  const ChildResult child = RunInChild([] {  // a name server that cannot answer now
    const int probe = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in closed{AF_INET, 0, {htonl(kLoopback)}, {}};
    socklen_t size = sizeof closed;
    bind(probe, reinterpret_cast<sockaddr*>(&closed), size);
    getsockname(probe, reinterpret_cast<sockaddr*>(&closed), &size);
    close(probe);  // nothing listens there now: the query is refused on this machine
    res_init();
    _res.nscount = 1;
    _res.nsaddr_list[0] = closed;
    socketTable.settings.lookup = PlatformHostLookup;
    const i32 ip = HostNameToIp(DynString("stakko-test.invalid"));
    std::printf("%d %s", ip, LastSocketErrorText().CStr());
  });
  EXPECT_EQ("-1 11 Resource temporarily unavailable", child.output);
  EXPECT_EQ("192.168.1.2", std::string(IpToText(static_cast<i32>(0xC0A80102u)).CStr()));
  NetAddress address;
  MakeNetAddress(&address, 1, 2, 3, 4, 80);
  EXPECT_STREQ("4.3.2.1", NetAddressToText(&address));
  EXPECT_EQ(0x04030201u, NetAddressHostIp(&address));
  EXPECT_EQ(htons(80), address.port);
}

}  // namespace

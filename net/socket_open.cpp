// The operations that put a new socket into the table: listening, UDP, connecting and accepting.
// Each claims its slot before it creates anything, so a full table creates no socket at all, and
// gives the slot back on every failure, so no descriptor and no claimed slot is left behind.
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "net/socket_slots.h"

namespace {

constexpr int kListenBacklog = 10;

// Closes a socket that failed to open, keeping the failing call's error as the last error.
i32 FailOpening(i32 slot, int fd) {
  const int error = socketTable.lastError;
  if (fd >= 0) close(fd);
  ReleaseClaim(slot);
  socketTable.lastError = error;
  return -1;
}

// The new socket becomes the slot's, switched to non-blocking.
i32 FinishOpening(i32 slot, int fd, const sockaddr_in& address, bool datagram) {
  FillSlot(slot, fd, address, datagram);
  SetDescriptorNonBlocking(fd, true);
  return slot;
}

int NewSocket(int type, int protocol) {
  return RetryInterrupted([&] { return socket(AF_INET, type, protocol); });
}

int Bind(int fd, const sockaddr_in& address) {
  return RetryInterrupted(
      [&] { return bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address); });
}

// A blocking connect. One that a signal interrupts goes on in the background: wait for its end and
// take its result from the socket.
int ConnectBlocking(int fd, const sockaddr_in& to) {
  const int result = connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to);
  socketTable.lastError = errno;
  if (result == 0 || errno != EINTR) return result;
  pollfd entry{fd, POLLOUT, 0};
  if (RetryInterrupted([&] { return poll(&entry, 1, -1); }) < 0) return -1;
  int error = 0;
  socklen_t size = sizeof error;
  getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
  socketTable.lastError = error;
  return error == 0 ? 0 : -1;
}

}  // namespace

i32 SocketListen(u16 port) {
  const i32 slot = ClaimFreeSlot();
  if (slot < 0) return -1;
  const int fd = NewSocket(SOCK_STREAM, IPPROTO_TCP);
  if (fd < 0) return FailOpening(slot, fd);
  const sockaddr_in address = MakeSocketAddress(socketTable.settings.bindIp, htons(port));
  // A port whose last connections still linger in TIME_WAIT can be listened on again at once (a
  // host that stops and hosts again); a second live listener on the port is still refused.
  const int reuse = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
  if (Bind(fd, address) != 0) return FailOpening(slot, fd);
  if (RetryInterrupted([&] { return listen(fd, kListenBacklog); }) != 0) {
    return FailOpening(slot, fd);
  }
  return FinishOpening(slot, fd, address, false);
}

i32 SocketOpenUdp(u16 port) {
  const i32 slot = ClaimFreeSlot();
  if (slot < 0) return -1;
  const int fd = NewSocket(SOCK_DGRAM, IPPROTO_UDP);
  if (fd < 0) return FailOpening(slot, fd);
  const sockaddr_in address = MakeSocketAddress(socketTable.settings.bindIp, htons(port));
  if (port != 0 && Bind(fd, address) != 0) return FailOpening(slot, fd);
  // Some stacks take the option only as a single byte.
  const int on = 1;
  if (setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
    const char one = '1';
    setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
  }
  socketTable.lastError = errno;
  return FinishOpening(slot, fd, address, true);
}

i32 SocketConnect(const NetAddress* to) {
  if (to == nullptr || (to->ip == 0 && to->port == 0)) return -1;
  const i32 slot = ClaimFreeSlot();
  if (slot < 0) return -1;
  const int fd = NewSocket(SOCK_STREAM, IPPROTO_TCP);
  if (fd < 0) return FailOpening(slot, fd);
  const sockaddr_in address = MakeSocketAddress(to->ip, to->port);
  if (ConnectBlocking(fd, address) != 0) return FailOpening(slot, fd);
  return FinishOpening(slot, fd, address, false);
}

i32 SocketAccept(i32 listenSlot, NetAddress* peer) {
  const SocketSlot* listening = UsedSlot(listenSlot);
  if (listening == nullptr) return -1;
  if (listening->datagram != 0) {
    socketTable.lastError = 0;
    return -1;
  }
  sockaddr_in from{};
  socklen_t size = sizeof from;
  const int fd = RetryInterrupted(
      [&] { return accept(listening->fd, reinterpret_cast<sockaddr*>(&from), &size); });
  if (fd < 0) return -1;
  const i32 slot = ClaimFreeSlot();
  if (slot < 0) {
    close(fd);  // the peer sees the refusal at once
    socketTable.lastError = ENOMEM;
    return -1;
  }
  if (peer != nullptr) {
    peer->ip = from.sin_addr.s_addr;
    peer->port = from.sin_port;
  }
  return FinishOpening(slot, fd, from, false);
}

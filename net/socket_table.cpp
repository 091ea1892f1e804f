// The socket table and the operations that release sockets or send on them.
//
// Sends use MSG_NOSIGNAL: a peer that has closed its end would otherwise raise SIGPIPE, which ends
// the whole process, where the layer promises a failure result. A send that keeps finding the
// socket full waits for it to drain for a bounded time instead of spinning without end.
#include "net/socket_table.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "platform/platform_ops.h"

namespace {

// How long a send may wait for a socket that stays full to take more bytes.
constexpr u32 kSendWaitLimitMs = 2000;
constexpr int kSendWaitStepMs = 10;

bool IsTableIndex(i32 slot) { return slot >= 0 && slot < kSocketSlotCount; }

// Stream descriptors are shut down in both directions before they close, so the peer sees the
// end at once. Datagram descriptors are closed too: leaving them open would keep their port bound
// until the process ends.
int ReleaseDescriptor(SocketSlot& slot) {
  const int fd = slot.fd;
  const bool datagram = slot.datagram != 0;
  slot.fd = -1;
  slot.datagram = 0;
  if (datagram) {
    close(fd);
    return 0;
  }
  shutdown(fd, SHUT_RDWR);
  return close(fd);
}

bool IsNoAddress(const NetAddress* to) { return to == nullptr || (to->ip == 0 && to->port == 0); }

ssize_t SendOnce(const SocketSlot& slot, const char* bytes, std::size_t count,
                 const sockaddr_in* destination) {
  if (destination != nullptr) {
    return sendto(slot.fd, bytes, count, MSG_NOSIGNAL,
                  reinterpret_cast<const sockaddr*>(destination), sizeof *destination);
  }
  return send(slot.fd, bytes, count, MSG_NOSIGNAL);
}

// Waits a short while for room in a full socket; false once the socket has stayed full for the
// whole limit, measured on the platform clock from the first time it was found full.
bool WaitUntilWritable(int fd, bool& waiting, u32& firstFullMs) {
  const u32 now = Platform().ticksMs();
  if (!waiting) {
    waiting = true;
    firstFullMs = now;
  } else if (static_cast<u32>(now - firstFullMs) >= kSendWaitLimitMs) {
    return false;
  }
  pollfd entry{fd, POLLOUT, 0};
  poll(&entry, 1, kSendWaitStepMs);
  return true;
}

}  // namespace

i32 SocketSystemInit() {
  if (socketTable.initCount == 0) {
    for (SocketSlot& slot : socketTable.slots) slot = SocketSlot{};
  }
  ++socketTable.initCount;
  return 1;
}

void SocketSystemShutdown() {
  if (socketTable.initCount > 0) --socketTable.initCount;
  if (socketTable.initCount > 0) return;
  for (SocketSlot& slot : socketTable.slots) {
    if (slot.fd != -1) ReleaseDescriptor(slot);
  }
}

i32 SocketSend(i32 slot, const void* buffer, i32 length, const NetAddress* to) {
  if (!IsTableIndex(slot) || socketTable.slots[slot].fd == -1) return -1;
  const SocketSlot& entry = socketTable.slots[slot];
  sockaddr_in destination = entry.address;
  const sockaddr_in* target = nullptr;
  if (entry.datagram != 0) {
    if (IsNoAddress(to)) return -1;
    destination.sin_port = to->port;
    destination.sin_addr.s_addr = to->ip;
    target = &destination;
  }
  if (length < 1) return 0;
  const char* bytes = static_cast<const char*>(buffer);
  i32 sent = 0;
  bool waiting = false;
  u32 firstFullMs = 0;
  while (sent < length) {
    const ssize_t result =
        SendOnce(entry, bytes + sent, static_cast<std::size_t>(length - sent), target);
    socketTable.lastError = errno;
    if (result < 0) {
      if (errno == EINTR) continue;
      const bool full = errno == EAGAIN || errno == EWOULDBLOCK;
      if (full && WaitUntilWritable(entry.fd, waiting, firstFullMs)) continue;
      return -1;
    }
    sent += static_cast<i32>(result);
    waiting = false;  // progress: the wait limit counts from the next time it is full
  }
  return sent;
}

i32 SocketClose(i32 slot) {
  if (!IsTableIndex(slot)) return -1;
  SocketSlot& entry = socketTable.slots[slot];
  if (entry.fd == -1) {
    // Nothing to close: reported the way closing an invalid descriptor is.
    socketTable.lastError = EBADF;
    return -1;
  }
  const int result = ReleaseDescriptor(entry);
  socketTable.lastError = errno;
  return result;
}

// Sending and receiving on the slots of the socket table.
//
// Sends use MSG_NOSIGNAL: a peer that has closed its end would otherwise raise SIGPIPE, which ends
// the whole process, where the layer promises a failure result. A whole-buffer send that keeps
// finding the socket full waits for it to drain for a bounded time instead of spinning without
// end, so a peer that stops reading cannot hang the sender (or whoever waits for the sender); the
// network session does not wait at all: it sends what the socket takes and keeps the rest.
#include <poll.h>
#include <sys/socket.h>

#include "net/socket_slots.h"
#include "platform/platform_ops.h"

namespace {

// How long a send may wait for a socket that stays full to take more bytes.
constexpr u32 kSendWaitLimitMs = 2000;
constexpr int kSendWaitStepMs = 10;

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

// One receive call of at most `length` bytes; a reset connection counts as closed or as failed.
i32 Receive(i32 slot, void* buffer, i32 length, bool resetIsClose) {
  const SocketSlot* entry = UsedSlot(slot);
  if (entry == nullptr) return -1;
  const std::size_t count = length > 0 ? static_cast<std::size_t>(length) : 0;
  const ssize_t result = RetryInterrupted([&] { return recv(entry->fd, buffer, count, 0); });
  if (result >= 0) return static_cast<i32>(result);
  if (errno == ECONNRESET && resetIsClose) return 0;
  return errno == EAGAIN || errno == EWOULDBLOCK ? -2 : -1;
}

}  // namespace

i32 SocketSend(i32 slot, const void* buffer, i32 length, const NetAddress* to) {
  const SocketSlot* entry = UsedSlot(slot);
  if (entry == nullptr) return -1;
  sockaddr_in destination = entry->address;
  const sockaddr_in* target = nullptr;
  if (entry->datagram != 0) {
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
        SendOnce(*entry, bytes + sent, static_cast<std::size_t>(length - sent), target);
    socketTable.lastError = errno;
    if (result < 0) {
      if (errno == EINTR) continue;
      const bool full = errno == EAGAIN || errno == EWOULDBLOCK;
      if (full && WaitUntilWritable(entry->fd, waiting, firstFullMs)) continue;
      return -1;
    }
    sent += static_cast<i32>(result);
    waiting = false;  // progress: the wait limit counts from the next time it is full
  }
  return sent;
}

i32 SocketSendSome(i32 slot, const void* buffer, i32 length) {
  const SocketSlot* entry = UsedSlot(slot);
  if (entry == nullptr) return -1;
  if (length < 1) return 0;
  const ssize_t result = RetryInterrupted([&] {
    return send(entry->fd, buffer, static_cast<std::size_t>(length), MSG_NOSIGNAL | MSG_DONTWAIT);
  });
  if (result >= 0) return static_cast<i32>(result);
  return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
}

i32 SocketReceive(i32 slot, void* buffer, i32 length) { return Receive(slot, buffer, length, true); }

i32 SocketReceiveStrict(i32 slot, void* buffer, i32 length) {
  return Receive(slot, buffer, length, false);
}

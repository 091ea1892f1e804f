// The socket table itself: the use count, claiming and freeing slots, closing, and the per-slot
// switches (blocking mode, local port, no delay, send buffer).
//
// Slots change hands under one lock: the program's thread and the network session's worker can
// both look for the lowest free slot at once, and without the lock both would take the same one.
// Reads of a slot in use need no lock, since only the owner of a handle touches its slot.
#include "net/socket_table.h"

#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <mutex>

#include "net/socket_slots.h"

namespace {

std::mutex slotLock;

bool IsTableIndex(i32 slot) { return slot >= 0 && slot < kSocketSlotCount; }

// Stream descriptors are shut down in both directions before they close, so the peer sees the
// end at once. Datagram descriptors are closed too: leaving them open would keep their port bound
// until the process ends. Called with the lock held.
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

// Closes every slot in use; a slot claimed by an opening operation is left to that operation.
void ReleaseAllSlots() {
  for (SocketSlot& slot : socketTable.slots) {
    if (slot.fd >= 0) ReleaseDescriptor(slot);
  }
}

}  // namespace

i32 SocketSystemInit() {
  const std::lock_guard<std::mutex> hold(slotLock);
  // Slots still open with no user were left by someone who never stopped the layer; closing them
  // keeps their descriptors from leaking, and their handles from naming the next user's sockets.
  if (socketTable.initCount == 0) ReleaseAllSlots();
  ++socketTable.initCount;
  return 1;
}

void SocketSystemShutdown() {
  const std::lock_guard<std::mutex> hold(slotLock);
  if (socketTable.initCount > 0) --socketTable.initCount;
  if (socketTable.initCount > 0) return;
  ReleaseAllSlots();
}

void SocketSystemEnd() {
  const std::lock_guard<std::mutex> hold(slotLock);
  socketTable.initCount = 0;
  ReleaseAllSlots();
}

i32 ClaimFreeSlot() {
  const std::lock_guard<std::mutex> hold(slotLock);
  for (i32 i = 0; i < kSocketSlotCount; ++i) {
    if (socketTable.slots[i].fd == -1) {
      socketTable.slots[i].fd = kSlotClaimed;
      return i;
    }
  }
  socketTable.lastError = ENOMEM;
  return -1;
}

void FillSlot(i32 slot, int fd, const sockaddr_in& address, bool datagram) {
  const std::lock_guard<std::mutex> hold(slotLock);
  SocketSlot& entry = socketTable.slots[slot];
  entry.address = address;
  entry.datagram = datagram ? 1 : 0;
  entry.fd = fd;
}

void ReleaseClaim(i32 slot) {
  const std::lock_guard<std::mutex> hold(slotLock);
  socketTable.slots[slot] = SocketSlot{};
}

SocketSlot* UsedSlot(i32 slot) {
  if (IsTableIndex(slot) && socketTable.slots[slot].fd >= 0) return &socketTable.slots[slot];
  socketTable.lastError = EBADF;
  return nullptr;
}

void SetDescriptorNonBlocking(int fd, bool nonBlocking) {
  int on = nonBlocking ? 1 : 0;
  ioctl(fd, FIONBIO, &on);
  socketTable.lastError = errno;
}

sockaddr_in MakeSocketAddress(u32 ip, u16 port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = port;
  address.sin_addr.s_addr = ip;
  return address;
}

i32 SocketClose(i32 slot) {
  if (UsedSlot(slot) == nullptr) return -1;  // reported the way closing a bad descriptor is
  const std::lock_guard<std::mutex> hold(slotLock);
  const int result = ReleaseDescriptor(socketTable.slots[slot]);
  socketTable.lastError = errno;
  return result;
}

void SocketSetBlocking(i32 slot, bool blocking) {
  if (IsTableIndex(slot) && socketTable.slots[slot].fd >= 0) {
    SetDescriptorNonBlocking(socketTable.slots[slot].fd, !blocking);
  }
}

i32 SocketLocalPort(i32 slot) {
  const SocketSlot* entry = UsedSlot(slot);
  if (entry == nullptr) return -1;
  sockaddr_in local{};
  socklen_t size = sizeof local;
  const int result = getsockname(entry->fd, reinterpret_cast<sockaddr*>(&local), &size);
  socketTable.lastError = errno;
  if (result != 0 || local.sin_family != AF_INET) return -1;
  return ntohs(local.sin_port);
}

void SocketSetNoDelay(i32 slot) {
  const SocketSlot* entry = UsedSlot(slot);
  if (entry == nullptr) return;
  const int on = 1;
  setsockopt(entry->fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  socketTable.lastError = errno;
}

void SocketLimitSendBuffer(i32 slot, i32 bytes) {
  const SocketSlot* entry = UsedSlot(slot);
  if (entry == nullptr) return;
  setsockopt(entry->fd, SOL_SOCKET, SO_SNDBUF, &bytes, sizeof bytes);
  socketTable.lastError = errno;
}

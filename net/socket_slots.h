// The socket table's slot bookkeeping, shared by the files of the socket layer (not by its users):
// claiming the lowest free slot under the table's lock, filling or giving it back, looking up a
// slot in use, and the retry of system calls that a signal interrupted.
#pragma once

#include <cerrno>

#include "net/socket_table.h"

constexpr i32 kSlotClaimed = -2;

// The lowest free slot, marked claimed so no other thread takes it; -1 with last error 12 (no
// memory) when all are in use.
i32 ClaimFreeSlot();
// Puts the descriptor into a claimed slot.
void FillSlot(i32 slot, int fd, const sockaddr_in& address, bool datagram);
// Gives a claimed slot back unused.
void ReleaseClaim(i32 slot);
// The slot when the index is in the table and the slot is in use; else null, last error EBADF.
SocketSlot* UsedSlot(i32 slot);
// Switches a descriptor's non-blocking mode (the platform's FIONBIO switch).
void SetDescriptorNonBlocking(int fd, bool nonBlocking);
// A sockaddr_in for the address and port, both in network order.
sockaddr_in MakeSocketAddress(u32 ip, u16 port);

// Runs a system call again while a signal interrupts it; the last error is set from its errno.
template <class Call>
auto RetryInterrupted(Call call) {
  auto result = call();
  while (result < 0 && errno == EINTR) result = call();
  socketTable.lastError = errno;
  return result;
}

// The socket table: programs know a socket only by its slot index (-1 means failure), with the
// platform error number of the last call kept beside the slots. Socket operations never end the
// program. This holds the table and the calls the end of program needs (start and stop of the
// layer, send, close); the opening, receiving and address operations build on the same table.
#pragma once

#include <netinet/in.h>

#include "core/types.h"

// An IPv4 endpoint in network byte order; all zero means no address.
struct NetAddress {
  u32 ip = 0;
  u16 port = 0;
};

struct SocketSlot {
  i32 fd = -1;               // -1: a free slot
  sockaddr_in address{};     // datagram slots: the template of every destination
  u8 datagram = 0;           // 1 for UDP, 0 for TCP
};

constexpr i32 kSocketSlotCount = 1024;

struct SocketTable {
  SocketSlot slots[kSocketSlotCount];
  i32 lastError = 0;
  u32 initCount = 0;
  char errorText[512] = {};
  char ownAddressText[4096] = {};
  char dottedText[32] = {};
};

extern SocketTable socketTable;

// Starts the layer: when no user has it started, every slot is made free; then one more user.
i32 SocketSystemInit();
// One user less; the last one (or a call with none left) frees every used slot.
void SocketSystemShutdown();
// Sends the whole buffer: the byte count, 0 for a length below 1, -1 on failure. A datagram slot
// needs a destination; a stream slot ignores it.
i32 SocketSend(i32 slot, const void* buffer, i32 length, const NetAddress* to);
// Frees the slot and closes its descriptor: 0, or the close result; -1 (with EBADF as the last
// error for a free slot) for a free slot or an index outside the table.
i32 SocketClose(i32 slot);

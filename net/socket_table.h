// The socket layer: TCP and UDP over IPv4 for programs that know a socket only by its slot index
// in one global table (-1 means failure), with the platform error number of the last call kept
// beside the slots. Socket operations never end the program; they report by their results.
//
// Every operation that takes a slot checks it: an index outside the table, or a free slot, gives
// -1 with EBADF as the last error. Slots are claimed under a lock, so the program's thread and the
// network session's worker may both open sockets. The layer is shared by a use count: only the
// last user's stop (or a stop with no user left) closes what is still open.
#pragma once

#include <netinet/in.h>

#include <atomic>
#include <vector>

#include "core/types.h"

// An IPv4 endpoint in network byte order; all zero means no address.
struct NetAddress {
  u32 ip = 0;
  u16 port = 0;
};

struct SocketSlot {
  i32 fd = -1;               // -1: a free slot; -2: claimed by an operation still opening it
  sockaddr_in address{};     // datagram slots: the template of every destination
  u8 datagram = 0;           // 1 for UDP, 0 for TCP
};

// Looks a host name (or a dotted address) up: fills `ips` with its IPv4 addresses in network
// order, in the platform's order, and returns 0; or returns an error number (`ips` empty).
using HostLookup = i32 (*)(const char* name, std::vector<u32>& ips);
// The platform's lookup (getaddrinfo, IPv4): the hosts file and, for other names, DNS.
i32 PlatformHostLookup(const char* name, std::vector<u32>& ips);

// Where the layer meets the machine. The defaults are what a program on the handheld needs; tests
// (and a program that must stay on one interface) point them at the loopback address.
struct SocketSettings {
  u32 bindIp = 0;        // listening and bound UDP sockets bind here (network order; 0 = any)
  u32 ownIpOverride = 0; // when not 0, the machine's own address (network order): what a host
                         // connects to for itself, in place of its first non-loopback address
  HostLookup lookup = PlatformHostLookup;
};

constexpr i32 kSocketSlotCount = 1024;

// The last error is written by whichever thread made the last call (the program's, or the network
// session's worker): a relaxed atomic, so that it holds one of their values and nothing worse.
class SharedErrorNumber {
 public:
  SharedErrorNumber(i32 value = 0) : value_(value) {}
  SharedErrorNumber(const SharedErrorNumber& other) : value_(other) {}
  SharedErrorNumber& operator=(i32 value) {
    value_.store(value, std::memory_order_relaxed);
    return *this;
  }
  SharedErrorNumber& operator=(const SharedErrorNumber& other) { return *this = i32{other}; }
  operator i32() const { return value_.load(std::memory_order_relaxed); }

 private:
  std::atomic<i32> value_;
};

struct SocketTable {
  SocketSlot slots[kSocketSlotCount];
  SharedErrorNumber lastError;
  u32 initCount = 0;
  char errorText[512] = {};
  char ownAddressText[4096] = {};
  char dottedText[32] = {};
  SocketSettings settings;
};

extern SocketTable socketTable;

// --- the layer's use count ---
// Starts the layer: when no user has it started, descriptors still in the table are closed and
// every slot is made free; then one more user. Always 1.
i32 SocketSystemInit();
// One user less; the last one (or a call with none left) closes every slot.
void SocketSystemShutdown();
// The end of program: every slot closed and no user left, however many had started the layer.
void SocketSystemEnd();

// --- opening ---
// A TCP socket listening on the bind address and port (backlog 10), non-blocking; the port's
// connections still in TIME_WAIT do not keep it from being listened on again. Slot or -1.
i32 SocketListen(u16 port);
// A UDP socket with broadcast allowed, non-blocking; bound to the bind address and port only when
// the port is not 0 (else the first send picks a local port). Slot or -1.
i32 SocketOpenUdp(u16 port);
// A TCP connection; the connect blocks until it stands or fails, then the slot is non-blocking.
// The no-address value (or null) gives -1 at once.
i32 SocketConnect(const NetAddress* to);
// Takes one pending connection of a listening slot: the new non-blocking slot, or -1 (nothing
// pending, a failure, or a datagram slot, which leaves the last error 0). `peer` may be null.
i32 SocketAccept(i32 listenSlot, NetAddress* peer);
// Blocking or non-blocking mode; nothing for a slot not in use.
void SocketSetBlocking(i32 slot, bool blocking);
// The local port a slot is bound to (host order), e.g. after listening on port 0; -1 when none.
i32 SocketLocalPort(i32 slot);
// Sends small writes of a stream slot at once instead of gathering them (TCP_NODELAY).
void SocketSetNoDelay(i32 slot);
// Caps the system's send buffer of a slot at about `bytes` (it is no longer sized automatically).
void SocketLimitSendBuffer(i32 slot, i32 bytes);

// --- moving bytes ---
// Sends the whole buffer: the byte count, 0 for a length below 1, -1 on failure (bytes already
// sent are not reported). A datagram slot needs a destination; a stream slot ignores it. A
// socket that stays full for two seconds without taking a byte fails the send with EAGAIN.
i32 SocketSend(i32 slot, const void* buffer, i32 length, const NetAddress* to);
// One receive of at most `length` bytes (a negative length counts as 0): the byte count, 0 when
// the peer closed or reset the connection, -2 when nothing is pending, -1 on failure.
i32 SocketReceive(i32 slot, void* buffer, i32 length);
// The same, except that a connection the peer reset is a failure (-1, last error ECONNRESET): for
// readers to whom only an orderly close means that all the data has come.
i32 SocketReceiveStrict(i32 slot, void* buffer, i32 length);
// One send that never waits, on a stream slot: the bytes the socket took (0 when it is full, or
// for a length below 1), -1 on failure.
i32 SocketSendSome(i32 slot, const void* buffer, i32 length);
// Frees the slot and closes its descriptor (stream sockets are shut down first): 0, or the close
// result; -1 for a free slot or an index outside the table.
i32 SocketClose(i32 slot);

// --- addresses and texts ---
// The host's first address and the port (network order) in `out`, which is returned. A null or
// empty name means this machine: the own-address override, else its first non-loopback address,
// else 127.0.0.1. Failure: the no-address value and the lookup's error as the last error.
NetAddress* ResolveHost(NetAddress* out, const char* host, u16 port);
// The machine's addresses outside 127.x.x.x, each followed by the separator, in the table's
// address text (overwritten by the next call); `count` gets their number. Null on failure.
const char* ListOwnIpAddresses(u32* count, const char* separator);
// "a.b.c.d" of the address, in the table's dotted text (overwritten by the next call).
const char* NetAddressToText(const NetAddress* address);
// The address in host order: the first octet in the most significant byte.
u32 NetAddressHostIp(const NetAddress* address);
// "<number> <text>" of the last error, in the table's error text.
const char* SocketErrorText();
// An address whose dotted form is "o4.o3.o2.o1" and the port.
void MakeNetAddress(NetAddress* out, u8 o1, u8 o2, u8 o3, u8 o4, u16 port);

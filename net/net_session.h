// The one network session of the runtime: its record (sockets, player lists, packet queues,
// flags and the mutex that guards them), its creation at start-up, the stop steps and its release
// at the end of program. The worker thread and the session commands build on this record.
#pragma once

#include <atomic>
#include <mutex>

#include "core/threads.h"
#include "core/types.h"
#include "net/net_packet.h"
#include "net/node_list.h"
#include "net/outgoing_buffer.h"

// The connection a queued packet came in on (or, on its way out, goes out on): a socket slot of an
// accepted connection, or this one for the connection to the host. Never sent.
constexpr i32 kFromHostConnection = -1;

struct PacketNode {
  PacketNode* prev = nullptr;
  PacketNode* next = nullptr;
  i32 connection = kFromHostConnection;
  u8 packet[kNetPacketBufferSize] = {};
};
using PacketQueue = NodeList<PacketNode>;

struct PlayerRecord {
  PlayerRecord* prev = nullptr;
  PlayerRecord* next = nullptr;
  i32 socket = -1;   // host records: the accepted connection; local records: -1
  u16 id = 0;
  u8 hidden = 0;     // 1 for the hidden "query" player
  u8 reserved = 0;
  char name[kNetPlayerNameSize] = {};
  PacketQueue messages;  // text messages delivered to this player
};
using PlayerList = NodeList<PlayerRecord>;

struct LeftIdNode {
  LeftIdNode* prev = nullptr;
  LeftIdNode* next = nullptr;
  u16 id = 0;
};
using LeftIdList = NodeList<LeftIdNode>;

struct NetSession {
  u16 nextId = kNetFirstPlayerId;  // next id the host hands out
  std::atomic<u16> ownId = 0;      // sender id of this program's requests; 0 = none yet
  i32 listenSocket = -1;           // slot of the listening socket; -1 when not hosting
  i32 hostSocket = -1;             // slot of the connection to the host; -1 when none
  PlayerList localPlayers;         // players this program registered
  PlayerList hostPlayers;          // the host's registry of all players
  u8 keepLeftIds = 0;              // 1 on the host: ids of leaving players go to leftIds
  u8 stopRequest = 1;              // set to ask the worker to end
  u8 running = 0;                  // set while the worker runs
  u8 acceptPlayers = 1;            // the host answers registrations only while set
  MutexHandle mutex = nullptr;     // guards every list, queue and flag above
  // The host connection's waiting bytes, which both the program's thread and the worker append
  // to and write: `sendLock` keeps each packet whole. Held only around one append and write (and
  // the closing of that connection), never with `mutex`.
  std::mutex sendLock;
  OutgoingBuffer hostOutgoing;
  i32 workerThread = 0;            // the worker's joinable thread; 0 when none was started
  bool holdsSocketLayer = false;   // the one use of the socket layer this session holds
  PacketQueue inbound;             // packets received in the current pass
  PacketQueue replies;             // the host's answers to this program's requests
  LeftIdList leftIds;              // ids of players that left, taken newest first
};

// How long the program waits for a reply of the host or for a registration: up to `polls` looks,
// `intervalNs` apart. One setting for every wait, so that a slow network (or a loaded test
// machine) can be given more time.
struct NetReplyWait {
  i32 polls = 250;
  u64 intervalNs = 20000;
};
extern NetReplyWait netReplyWait;

// A new idle session with its error-checking mutex, the worker not started; null when no memory
// or no mutex can be had.
NetSession* NetCreateSession();

// Holds the session's mutex for a scope.
class SessionLock {
 public:
  explicit SessionLock(NetSession& session) : mutex_(&session.mutex) { LockMutex(mutex_); }
  ~SessionLock() { UnlockMutex(mutex_); }
  SessionLock(const SessionLock&) = delete;
  SessionLock& operator=(const SessionLock&) = delete;

 private:
  MutexHandle* mutex_;
};

// Reads a flag of the session under its mutex.
u8 ReadSessionFlag(NetSession& session, const u8& flag);

// Sets up either end of a session connection: each small packet goes out at once (TCP_NODELAY),
// and the system's send buffer is capped (64 KiB), so that a peer that stops reading shows up as
// unsent bytes in the connection's OutgoingBuffer within moments, not after megabytes.
void PrepareSessionConnection(i32 slot);

// Puts one whole packet on the host connection, whoever else writes to it, and writes what the
// socket takes at once; the rest goes out in the worker's passes. The packet's size, or -1 when
// there is no host connection or it has failed (a host that stopped reading): the worker then
// ends the session.
i32 SendToHost(NetSession& session, const u8* packet);
// Writes the host connection's waiting bytes: false once it has failed.
bool FlushToHost(NetSession& session);
// Sends the 8-byte leave packet for `id` on the host connection.
i32 SendLeavePacket(NetSession& session, u16 id);

// The session's use of the socket layer: taken once when a session starts, released (once) when
// it ends, so that a program's own sockets outlive any number of sessions.
void TakeSocketLayer(NetSession& session);
void ReleaseSocketLayer(NetSession& session);

// The stop steps: asks a running worker to end and waits until its thread has ended (it never
// waits on a socket, so this is at most one pass), closes the listening and host sockets,
// releases the session's use of the socket layer and resets the ids and flags. Player records and
// queues stay.
void StopNetSession(NetSession& session);

// Frees the nodes of a packet queue, and the records of a player list with their messages.
void FreePackets(PacketQueue& queue);
void FreePlayers(PlayerList& players);
// Frees every player record (with its messages), every queued packet and every left id.
void FreeSessionLists(NetSession& session);

// Leave packets for the registered local players, the stop steps, then the session freed with its
// mutex.
void DeleteNetSession(NetSession* session);

// The end of program's release of the global session (DeleteNetSession, the global pointer
// cleared), after which every socket still open is closed, whoever holds the layer.
void NetShutdownSession();

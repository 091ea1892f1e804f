// The one network session of the runtime: its record (sockets, player lists, packet queues,
// flags and the mutex that guards them), its creation at start-up, the stop steps and its release
// at the end of program. The worker thread and the session commands build on this record.
#pragma once

#include "core/threads.h"
#include "core/types.h"
#include "net/node_list.h"

// Every packet of the session is handled in a buffer of this size: a 7-byte header, at most 1024
// payload bytes and the end byte.
constexpr i32 kNetPacketBufferSize = 1032;
constexpr i32 kNetMaxPayload = 1024;

// Player ids.
constexpr u16 kNetFirstPlayerId = 101;
constexpr u16 kNetLastPlayerId = 0xFEFF;
constexpr u16 kNetIdAwaitingRegistration = 0xFFFE;
constexpr u16 kNetIdRegistrationSent = 0xFFFC;
constexpr u16 kNetIdEveryone = 0xFFFF;

constexpr u8 kNetPacketLeave = 4;
constexpr i32 kNetPlayerNameSize = 128;

struct PacketNode {
  PacketNode* prev = nullptr;
  PacketNode* next = nullptr;
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
  u16 ownId = 0;                   // sender id of this program's requests; 0 = none yet
  i32 listenSocket = -1;           // slot of the listening socket; -1 when not hosting
  i32 hostSocket = -1;             // slot of the connection to the host; -1 when none
  PlayerList localPlayers;         // players this program registered
  PlayerList hostPlayers;          // the host's registry of all players
  u8 keepLeftIds = 0;              // 1 on the host: ids of leaving players go to leftIds
  u8 stopRequest = 1;              // set to ask the worker to end
  u8 running = 0;                  // set while the worker runs
  u8 acceptPlayers = 1;            // the host answers registrations only while set
  MutexHandle mutex = nullptr;     // guards every list, queue and flag above
  PacketQueue inbound;             // packets received in the current pass
  PacketQueue replies;             // the host's answers to this program's requests
  LeftIdList leftIds;              // ids of players that left, taken newest first
};

// A new idle session with its error-checking mutex, the worker not started; null when no memory
// or no mutex can be had.
NetSession* NetCreateSession();

// Sends the 8-byte leave packet for `id` on a socket slot; the send's result.
i32 SendLeavePacket(i32 socket, u16 id);

// The stop steps: asks a running worker to end and waits for it, closes the listening and host
// sockets, shuts the socket layer down once and resets the ids and flags. The wait is bounded
// (about 2 s); when the worker does not end in time nothing else is done and the result is false.
bool StopNetSession(NetSession& session);

// Frees every player record (with its messages), every queued packet and every left id.
void FreeSessionLists(NetSession& session);

// The end of program's release of the global session: leave packets for the registered local
// players, the stop steps, the socket layer shut down once more, the mutex destroyed, everything
// freed and the global pointer cleared. A worker that does not stop in time still uses the
// session, so it is then left allocated (the process is ending) and only the pointer is cleared.
// Nothing happens without a session.
void NetShutdownSession();

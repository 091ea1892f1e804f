// Creation, stop and release of the network session.
#include "net/net_session.h"

#include <new>
#include <vector>

#include "core/byte_order.h"
#include "core/runtime_globals.h"
#include "net/socket_table.h"
#include "platform/platform_ops.h"

namespace {

// The stop waits this long, in all, for the worker to clear its running flag.
constexpr u32 kStopWaitLimitMs = 2000;
// A clock that does not move must not turn the bounded wait into an endless one.
constexpr u32 kStopPollLimit = 200000;
constexpr u64 kStopPollIntervalNs = 50000;

u8 ReadFlag(NetSession& session, const u8& flag) {
  LockMutex(&session.mutex);
  const u8 value = flag;
  UnlockMutex(&session.mutex);
  return value;
}

bool WaitForWorkerToEnd(NetSession& session) {
  if (ReadFlag(session, session.running) == 0) return true;
  LockMutex(&session.mutex);
  session.stopRequest = 1;
  UnlockMutex(&session.mutex);
  PlatformOps& ops = Platform();
  const u32 startMs = ops.ticksMs();
  for (u32 polls = 0; polls < kStopPollLimit; ++polls) {
    if (ReadFlag(session, session.running) == 0) return true;
    if (static_cast<u32>(ops.ticksMs() - startMs) >= kStopWaitLimitMs) break;
    ops.sleepNs(0, kStopPollIntervalNs);
  }
  return ReadFlag(session, session.running) == 0;
}

void CloseSessionSocket(i32& socket) {
  if (socket == -1) return;
  SocketClose(socket);
  socket = -1;
}

void FreePackets(PacketQueue& queue) {
  while (PacketNode* node = queue.TakeHead()) delete node;
}

void FreePlayers(PlayerList& players) {
  while (PlayerRecord* record = players.TakeHead()) {
    FreePackets(record->messages);
    delete record;
  }
}

// The ids that get a leave packet: registered players only, not records still waiting for an id.
std::vector<u16> RegisteredLocalIds(NetSession& session) {
  std::vector<u16> ids;
  LockMutex(&session.mutex);
  for (PlayerRecord* record = session.localPlayers.head; record != nullptr; record = record->next) {
    if (record->id >= 1 && record->id <= kNetLastPlayerId) ids.push_back(record->id);
  }
  UnlockMutex(&session.mutex);
  return ids;
}

}  // namespace

NetSession* NetCreateSession() {
  auto* session = new (std::nothrow) NetSession;
  if (session == nullptr) return nullptr;
  if (CreateMutex(&session->mutex) != 0) {
    delete session;
    return nullptr;
  }
  return session;
}

i32 SendLeavePacket(i32 socket, u16 id) {
  // type, payload length (u16), target id (u16), sender id (u16), end byte; little endian.
  u8 packet[8] = {kNetPacketLeave, 0, 0, 0, 0, 0, 0, 0};
  WriteLE16(packet + 5, id);
  return SocketSend(socket, packet, static_cast<i32>(sizeof packet), nullptr);
}

bool StopNetSession(NetSession& session) {
  if (!WaitForWorkerToEnd(session)) return false;
  CloseSessionSocket(session.listenSocket);
  CloseSessionSocket(session.hostSocket);
  SocketSystemShutdown();
  session.nextId = kNetFirstPlayerId;
  session.ownId = 0;
  session.acceptPlayers = 1;
  session.stopRequest = 1;
  session.running = 0;
  return true;
}

void FreeSessionLists(NetSession& session) {
  FreePlayers(session.localPlayers);
  FreePlayers(session.hostPlayers);
  FreePackets(session.inbound);
  FreePackets(session.replies);
  while (LeftIdNode* node = session.leftIds.TakeHead()) delete node;
}

void NetShutdownSession() {
  NetSession* session = netSession;
  if (session == nullptr) return;
  if (session->hostSocket != -1) {
    for (u16 id : RegisteredLocalIds(*session)) SendLeavePacket(session->hostSocket, id);
  }
  netSession = nullptr;
  if (!StopNetSession(*session)) return;  // a live worker still uses the session
  SocketSystemShutdown();
  DestroyMutex(&session->mutex);
  FreeSessionLists(*session);
  delete session;
}

// Creation, stop and release of the network session, and the sends on its host connection.
#include "net/net_session.h"

#include <new>
#include <vector>

#include "core/runtime_globals.h"
#include "net/socket_table.h"
#include "platform/platform_ops.h"

namespace {

// The stop waits this long, in all, for the worker to clear its running flag.
constexpr u32 kStopWaitLimitMs = 2000;
// A clock that does not move must not turn the bounded wait into an endless one.
constexpr u32 kStopPollLimit = 200000;
constexpr u64 kStopPollIntervalNs = 50000;

bool WaitForWorkerToEnd(NetSession& session) {
  if (ReadSessionFlag(session, session.running) == 0) return true;
  {
    const SessionLock hold(session);
    session.stopRequest = 1;
  }
  PlatformOps& ops = Platform();
  const u32 startMs = ops.ticksMs();
  for (u32 polls = 0; polls < kStopPollLimit; ++polls) {
    if (ReadSessionFlag(session, session.running) == 0) return true;
    if (static_cast<u32>(ops.ticksMs() - startMs) >= kStopWaitLimitMs) break;
    ops.sleepNs(0, kStopPollIntervalNs);
  }
  return ReadSessionFlag(session, session.running) == 0;
}

void CloseSessionSocket(i32& socket) {
  if (socket == -1) return;
  SocketClose(socket);
  socket = -1;
}

// The ids that get a leave packet: registered players only, not records still waiting for an id.
std::vector<u16> RegisteredLocalIds(NetSession& session) {
  std::vector<u16> ids;
  const SessionLock hold(session);
  for (PlayerRecord* record = session.localPlayers.head; record != nullptr; record = record->next) {
    if (IsPlayerId(record->id)) ids.push_back(record->id);
  }
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

u8 ReadSessionFlag(NetSession& session, const u8& flag) {
  const SessionLock hold(session);
  return flag;
}

i32 SendToHost(NetSession& session, const u8* packet) {
  const std::lock_guard<std::mutex> hold(session.sendLock);
  if (session.hostSocket == -1) return -1;
  return SocketSend(session.hostSocket, packet, PacketWireSize(packet), nullptr);
}

i32 SendLeavePacket(NetSession& session, u16 id) {
  u8 packet[8];
  BuildPacket(packet, kNetPacketLeave, kNetHostId, id, nullptr, 0);
  return SendToHost(session, packet);
}

void TakeSocketLayer(NetSession& session) {
  if (session.holdsSocketLayer) return;
  SocketSystemInit();
  session.holdsSocketLayer = true;
}

void ReleaseSocketLayer(NetSession& session) {
  if (!session.holdsSocketLayer) return;
  session.holdsSocketLayer = false;
  SocketSystemShutdown();
}

bool StopNetSession(NetSession& session) {
  if (!WaitForWorkerToEnd(session)) return false;
  CloseSessionSocket(session.listenSocket);
  {
    const std::lock_guard<std::mutex> hold(session.sendLock);
    CloseSessionSocket(session.hostSocket);
  }
  ReleaseSocketLayer(session);
  session.nextId = kNetFirstPlayerId;
  session.ownId = 0;
  session.acceptPlayers = 1;
  session.stopRequest = 1;
  session.running = 0;
  return true;
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

void FreeSessionLists(NetSession& session) {
  FreePlayers(session.localPlayers);
  FreePlayers(session.hostPlayers);
  FreePackets(session.inbound);
  FreePackets(session.replies);
  while (LeftIdNode* node = session.leftIds.TakeHead()) delete node;
}

bool DeleteNetSession(NetSession* session) {
  for (u16 id : RegisteredLocalIds(*session)) SendLeavePacket(*session, id);
  if (!StopNetSession(*session)) return false;  // a live worker still uses the session
  DestroyMutex(&session->mutex);
  FreeSessionLists(*session);
  delete session;
  return true;
}

void NetShutdownSession() {
  NetSession* session = netSession;
  netSession = nullptr;
  if (session != nullptr && !DeleteNetSession(session)) return;
  SocketSystemEnd();
}

// Creation, stop and release of the network session, and the sends on its host connection.
#include "net/net_session.h"

#include <new>
#include <vector>

#include "core/runtime_globals.h"
#include "net/socket_table.h"
#include "platform/platform_ops.h"

namespace {

constexpr i32 kSessionSendBufferBytes = 64 * 1024;

// Asks a running worker to end and waits for its thread, also one that ended by itself (its host
// connection closed) and was not waited for yet.
void JoinWorker(NetSession& session) {
  if (ReadSessionFlag(session, session.running) != 0) {
    const SessionLock hold(session);
    session.stopRequest = 1;
  }
  if (session.workerThread > 0) JoinThread(session.workerThread, nullptr);
  session.workerThread = 0;
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

void PrepareSessionConnection(i32 slot) {
  SocketSetNoDelay(slot);
  SocketLimitSendBuffer(slot, kSessionSendBufferBytes);
}

i32 SendToHost(NetSession& session, const u8* packet) {
  const std::lock_guard<std::mutex> hold(session.sendLock);
  if (session.hostSocket == -1 || session.hostOutgoing.Failed()) return -1;
  const u32 now = Platform().ticksMs();
  const i32 size = PacketWireSize(packet);
  session.hostOutgoing.Append(packet, size, now);
  return session.hostOutgoing.Flush(session.hostSocket, now) ? size : -1;
}

bool FlushToHost(NetSession& session) {
  const std::lock_guard<std::mutex> hold(session.sendLock);
  if (session.hostSocket == -1) return true;
  return session.hostOutgoing.Flush(session.hostSocket, Platform().ticksMs());
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

void StopNetSession(NetSession& session) {
  JoinWorker(session);
  CloseSessionSocket(session.listenSocket);
  {
    const std::lock_guard<std::mutex> hold(session.sendLock);
    CloseSessionSocket(session.hostSocket);
    session.hostOutgoing.Clear();
  }
  ReleaseSocketLayer(session);
  session.nextId = kNetFirstPlayerId;
  session.ownId = 0;
  session.acceptPlayers = 1;
  session.stopRequest = 1;
  session.running = 0;
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

void DeleteNetSession(NetSession* session) {
  for (u16 id : RegisteredLocalIds(*session)) SendLeavePacket(*session, id);
  StopNetSession(*session);
  DestroyMutex(&session->mutex);
  FreeSessionLists(*session);
  delete session;
}

void NetShutdownSession() {
  NetSession* session = netSession;
  netSession = nullptr;
  if (session != nullptr) DeleteNetSession(session);
  SocketSystemEnd();
}

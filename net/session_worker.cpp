// The worker's passes. Each pass: queue pending registrations; drain the host connection; on the
// host, accept one connection and read at most one packet from each accepted one; route what came
// in under the mutex; queue what the routing put out; write every connection's waiting bytes as
// far as its socket takes them; sleep 10 µs.
//
// No socket is ever waited on: each connection keeps its unsent bytes for the next pass. Accepted
// connections are written only by this thread, so their buffers need no lock. One that fails (its
// peer gone, or not reading: see OutgoingBuffer) is closed like one the peer closed, and its
// players removed; a host connection that fails ends the session like one the host closed.
#include "net/session_worker.h"

#include <utility>
#include <vector>

#include "net/packet_stream.h"
#include "net/session_routing.h"
#include "net/socket_table.h"
#include "platform/platform_ops.h"

namespace {

constexpr std::size_t kMaxAcceptedConnections = 128;
constexpr u64 kPassSleepNs = 10000;
// The host connection is drained up to this many packets a pass; the rest waits in the socket
// for the next pass, so a flood cannot keep a pass from ending.
constexpr i32 kDrainLimit = 1024;

struct Connection {
  i32 slot = -1;
  PacketAssembler stream;
  OutgoingBuffer outgoing;
};

struct Worker {
  explicit Worker(NetSession& s) : session(s), hosting(s.listenSocket != -1) {}
  NetSession& session;
  const bool hosting;
  PacketAssembler hostStream;
  std::vector<Connection> accepted;
  std::vector<i32> openSlots;
};

void Queue(NetSession& session, PacketNode* node, i32 connection) {
  node->connection = connection;
  const SessionLock hold(session);
  session.inbound.Append(node);
}

// Closes an accepted connection and removes its players; the table's last entry takes its place.
void DropConnection(Worker& worker, std::size_t index) {
  const i32 slot = worker.accepted[index].slot;
  {
    const SessionLock hold(worker.session);
    RemovePlayersOnConnection(worker.session, slot);
  }
  SocketClose(slot);
  worker.accepted[index] = std::move(worker.accepted.back());
  worker.accepted.pop_back();
}

Connection* FindConnection(Worker& worker, i32 slot) {
  for (Connection& connection : worker.accepted) {
    if (connection.slot == slot) return &connection;
  }
  return nullptr;
}

// Each packet goes to the end of its connection's waiting bytes, in the order routed.
void QueueOutgoing(Worker& worker, PacketQueue& outbox) {
  const u32 now = Platform().ticksMs();
  while (PacketNode* node = outbox.TakeHead()) {
    if (node->connection == kFromHostConnection) {
      SendToHost(worker.session, node->packet);
    } else if (Connection* connection = FindConnection(worker, node->connection)) {
      connection->outgoing.Append(node->packet, PacketWireSize(node->packet), now);
    }
    delete node;
  }
}

// Writes every connection's waiting bytes; false when the host connection has failed.
bool FlushAll(Worker& worker) {
  const u32 now = Platform().ticksMs();
  for (std::size_t i = 0; i < worker.accepted.size();) {
    Connection& connection = worker.accepted[i];
    if (connection.outgoing.Flush(connection.slot, now)) {
      ++i;
    } else {
      DropConnection(worker, i);  // the last entry moves here and is written next
    }
  }
  return FlushToHost(worker.session);
}

// False when the host connection closed (or sent what is not a session's stream).
bool DrainHostConnection(Worker& worker) {
  for (i32 count = 0; count < kDrainLimit; ++count) {
    PacketNode* node = nullptr;
    switch (ReadPacket(worker.session.hostSocket, worker.hostStream, node)) {
      case StreamRead::kPacket:
        Queue(worker.session, node, kFromHostConnection);
        break;
      case StreamRead::kNothing:
        return true;
      case StreamRead::kClosed:
      case StreamRead::kBroken:
        return false;
    }
  }
  return true;
}

// A connection beyond the table's 128 is accepted and closed at once: the peer sees the close.
void AcceptOne(Worker& worker) {
  NetSession& session = worker.session;
  if (ReadSessionFlag(session, session.acceptPlayers) == 0) return;
  const i32 slot = SocketAccept(session.listenSocket, nullptr);
  if (slot < 0) return;
  if (worker.accepted.size() >= kMaxAcceptedConnections) {
    SocketClose(slot);
    return;
  }
  PrepareSessionConnection(slot);
  worker.accepted.push_back(Connection{slot, {}, {}});
}

// One packet at most from each accepted connection. An entry that moves into a closed one's place
// is read in the next pass.
void ReadAccepted(Worker& worker) {
  for (std::size_t i = 0; i < worker.accepted.size(); ++i) {
    Connection& connection = worker.accepted[i];
    PacketNode* node = nullptr;
    switch (ReadPacket(connection.slot, connection.stream, node)) {
      case StreamRead::kPacket:
        Queue(worker.session, node, connection.slot);
        break;
      case StreamRead::kNothing:
        break;
      case StreamRead::kClosed:
      case StreamRead::kBroken:
        DropConnection(worker, i);
        break;
    }
  }
}

OpenConnections OpenSlots(Worker& worker) {
  worker.openSlots.clear();
  for (const Connection& connection : worker.accepted) worker.openSlots.push_back(connection.slot);
  return worker.openSlots;
}

// False when the worker is to end.
bool RunPass(Worker& worker) {
  NetSession& session = worker.session;
  PacketQueue outbox;
  {
    const SessionLock hold(session);
    if (session.stopRequest != 0) return false;
    TakePendingRegistrations(session, outbox);
  }
  QueueOutgoing(worker, outbox);
  if (!DrainHostConnection(worker)) return false;
  if (worker.hosting) {
    AcceptOne(worker);
    ReadAccepted(worker);
  }
  {
    const SessionLock hold(session);
    RoutePackets(session, worker.hosting, OpenSlots(worker), outbox);
  }
  QueueOutgoing(worker, outbox);
  if (!FlushAll(worker)) return false;
  Platform().sleepNs(0, kPassSleepNs);
  return true;
}

// Closes every connection (the host connection after one last write of what waits for it, such
// as leave packets), releases the session's use of the socket layer and resets the ids and flags.
// Clearing `running` is the last touch of the session.
void EndWorker(Worker& worker) {
  NetSession& session = worker.session;
  for (const Connection& connection : worker.accepted) SocketClose(connection.slot);
  if (session.listenSocket != -1) SocketClose(session.listenSocket);
  session.listenSocket = -1;
  FlushToHost(session);
  {
    const std::lock_guard<std::mutex> hold(session.sendLock);
    if (session.hostSocket != -1) SocketClose(session.hostSocket);
    session.hostSocket = -1;
    session.hostOutgoing.Clear();
  }
  ReleaseSocketLayer(session);
  session.ownId = 0;
  const SessionLock hold(session);
  FreePackets(session.inbound);  // a pass cut short; their connections are gone
  session.nextId = kNetFirstPlayerId;
  session.acceptPlayers = 1;
  session.stopRequest = 1;
  session.running = 0;
}

}  // namespace

// The starter sets `running` and clears `stopRequest` before the thread exists, so a stop asked
// for before the first pass is not lost.
void* NetWorkerThread(void* argument) {
  Worker worker(*static_cast<NetSession*>(argument));
  while (RunPass(worker)) {
  }
  EndWorker(worker);
  return nullptr;
}

// Hosting, joining and stopping a session. Every start stops what runs, forgets the players of the
// last session and takes the socket layer once; a start that fails stops again, so the session is
// left idle with no socket open and the layer released.
#include "core/runtime_globals.h"
#include "net/session_commands.h"
#include "net/session_worker.h"
#include "net/socket_table.h"

namespace {

void PrepareStart(NetSession& session) {
  StopNetSession(session);
  {
    const SessionLock hold(session);
    FreePlayers(session.localPlayers);
    FreePlayers(session.hostPlayers);
    while (LeftIdNode* node = session.leftIds.TakeHead()) delete node;
  }
  TakeSocketLayer(session);
}

bool FailStart(NetSession& session) {
  StopNetSession(session);
  return false;
}

bool StartWorker(NetSession& session, u8 keepLeftIds) {
  PrepareSessionConnection(session.hostSocket);
  session.keepLeftIds = keepLeftIds;
  session.stopRequest = 0;
  session.running = 1;
  const i32 thread = StartThread(NetWorkerThread, &session, 1);
  if (thread > 0) {
    session.workerThread = thread;
    return true;
  }
  session.running = 0;
  return FailStart(session);
}

}  // namespace

bool NetHostSession(NetSession& session, u16 port) {
  PrepareStart(session);
  session.listenSocket = SocketListen(port);
  if (session.listenSocket == -1) return FailStart(session);
  NetAddress own;
  ResolveHost(&own, nullptr, static_cast<u16>(SocketLocalPort(session.listenSocket)));
  session.hostSocket = SocketConnect(&own);
  if (session.hostSocket == -1) return FailStart(session);
  return StartWorker(session, 1);
}

bool NetJoinSession(NetSession& session, const char* host, u16 port) {
  PrepareStart(session);
  NetAddress to;
  ResolveHost(&to, host, port);
  session.hostSocket = SocketConnect(&to);  // refuses the no-address value
  if (session.hostSocket == -1 || !StartWorker(session, 0)) return FailStart(session);
  PacketNode reply;
  if (!RequestFromHost(session, kNetRequestHello, nullptr, 0, reply)) return FailStart(session);
  return true;
}

// Port 0 means any free port only below the commands: a program that joins must know the port.
u16 NetSessionPort(i32 port) {
  const u16 low = static_cast<u16>(port);
  return port < 1 || low == 0 ? kNetDefaultPort : low;
}

i32 NetHostSession(i32 port) {
  return netSession != nullptr && NetHostSession(*netSession, NetSessionPort(port)) ? 1 : 0;
}

i32 NetJoinSession(const DynString& host, i32 port) {
  if (netSession == nullptr) return 0;
  return NetJoinSession(*netSession, host.CStr(), NetSessionPort(port)) ? 1 : 0;
}

void NetStopSession() {
  if (netSession != nullptr) StopNetSession(*netSession);
}

i32 NetIsRunning() {
  return netSession != nullptr ? ReadSessionFlag(*netSession, netSession->running) : 0;
}

void NetSetAcceptPlayers(i32 flag) {
  if (netSession == nullptr) return;
  const SessionLock hold(*netSession);
  netSession->acceptPlayers = flag != 0 ? 1 : 0;
}

// The network session's worker thread, started joinable by hosting or joining with the session as
// its argument; the stop joins it. It moves the bytes (registrations out, packets in from the host
// connection and, on the host, from every accepted connection, the routed packets out) and leaves
// the decisions to the protocol's routing rules. It ends when asked to, or when the host
// connection closes or fails.
#pragma once

void* NetWorkerThread(void* session);

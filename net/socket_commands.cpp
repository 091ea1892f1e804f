// The program-facing socket commands over the socket layer.
#include "net/socket_commands.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstring>

#include "core/byte_order.h"
#include "net/socket_table.h"

namespace {

// One receive never asks for more than this: a program's huge count must not allocate gigabytes,
// and no socket hands over more in one call anyway.
constexpr i32 kReceiveStringLimit = 1 << 20;

u16 Port(i32 port) { return static_cast<u16>(port); }

NetAddress FromHostOrder(i32 ip, i32 port) {
  return NetAddress{htonl(static_cast<u32>(ip)), htons(Port(port))};
}

}  // namespace

i32 SocketInitCommand() { return SocketSystemInit(); }

void SocketShutdownCommand() { SocketSystemShutdown(); }

i32 SocketListenCommand(i32 port) { return SocketListen(Port(port)); }

i32 SocketOpenUdpCommand(i32 port) { return SocketOpenUdp(Port(port)); }

i32 SocketCloseCommand(i32 slot) { return SocketClose(slot) == 0 ? 1 : 0; }

i32 HostNameToIp(const DynString& host) {
  NetAddress address;
  ResolveHost(&address, host.CStr(), 0);
  if (address.ip == 0 && address.port == 0) return -1;
  return static_cast<i32>(NetAddressHostIp(&address));
}

i32 ConnectToHost(const DynString& host, i32 port) {
  NetAddress address;
  ResolveHost(&address, host.CStr(), Port(port));
  return SocketConnect(&address);
}

i32 AcceptConnection(i32 listenSlot, u32& ip) {
  NetAddress peer;
  const i32 slot = SocketAccept(listenSlot, &peer);
  if (slot >= 0) {
    u8 octets[4];
    std::memcpy(octets, &peer.ip, 4);
    ip = ReadLE32(octets);
  }
  return slot;
}

i32 SocketSendString(i32 slot, const DynString& text) {
  return SocketSend(slot, text.CStr(), static_cast<i32>(text.Length()), nullptr);
}

i32 SocketSendStringTo(i32 slot, const DynString& text, i32 ip, i32 port) {
  const NetAddress to = FromHostOrder(ip, port);
  return SocketSend(slot, text.CStr(), static_cast<i32>(text.Length()), &to);
}

i32 SocketReceiveString(i32 slot, DynString& out, i32 n) {
  const i32 room = std::clamp(n, 0, kReceiveStringLimit);
  out.Reserve(static_cast<u32>(room), false);
  out.Truncate(0);
  char none = 0;  // the shared empty text is never written: a count of 0 receives into this
  char* buffer = out.IsSharedEmpty() ? &none : out.data;
  const i32 received = SocketReceive(slot, buffer, out.IsSharedEmpty() ? 0 : room);
  if (received > 0) {
    buffer[received] = '\0';
    out.SyncLength();
  }
  return received;
}

DynString IpToText(i32 ip) {
  const NetAddress address = FromHostOrder(ip, 0);
  return DynString(NetAddressToText(&address));
}

DynString OwnIpAddressList() {
  SocketSystemInit();
  u32 count = 0;
  const char* list = ListOwnIpAddresses(&count, "|");
  DynString text;
  if (list != nullptr && count > 0) {
    const char* last = std::strrchr(list, '|');
    text = DynString::FromBytes(list, static_cast<u32>(last - list));
  }
  SocketSystemShutdown();
  return text;
}

DynString LastSocketErrorText() { return DynString(SocketErrorText()); }

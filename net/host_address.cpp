// Host names, the machine's own addresses and the texts of the socket layer: the lookup behind
// ResolveHost (replaceable through the table's settings, so tests never depend on DNS), the list
// of own addresses, dotted text and the error text.
#include <arpa/inet.h>
#include <netdb.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "net/socket_slots.h"

namespace {

constexpr std::size_t kHostNameLimit = 256;
constexpr u32 kLoopbackIp = 0x0100007F;  // 127.0.0.1 in network order, as it lies in memory

// The four octets of a network-order address, first octet first.
void Octets(u32 ip, u8 out[4]) { std::memcpy(out, &ip, 4); }

void FormatDotted(u32 ip, char* out, std::size_t size) {
  u8 o[4];
  Octets(ip, o);
  std::snprintf(out, size, "%d.%d.%d.%d", o[0], o[1], o[2], o[3]);
}

// The machine's first address outside 127.x.x.x, or 0.
u32 FirstOwnAddress() {
  u32 count = 0;
  const char* list = ListOwnIpAddresses(&count, "\n");
  if (list == nullptr || count == 0) return 0;
  const std::string first(list, std::strcspn(list, "\n"));
  in_addr ip{};
  return inet_pton(AF_INET, first.c_str(), &ip) == 1 ? ip.s_addr : 0;
}

}  // namespace

i32 PlatformHostLookup(const char* name, std::vector<u32>& ips) {
  ips.clear();
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const int result = getaddrinfo(name, nullptr, &hints, &found);
  if (result != 0) {
    // Only a few failures carry an errno; "no such host" reads best as "no such address".
    if (result == EAI_SYSTEM) return errno != 0 ? errno : EIO;
    if (result == EAI_MEMORY) return ENOMEM;
    if (result == EAI_AGAIN) return EAGAIN;
    return ENXIO;
  }
  for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
    if (a->ai_family == AF_INET && a->ai_addrlen >= sizeof(sockaddr_in)) {
      ips.push_back(reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr);
    }
  }
  freeaddrinfo(found);
  return ips.empty() ? ENXIO : 0;
}

NetAddress* ResolveHost(NetAddress* out, const char* host, u16 port) {
  *out = NetAddress{};
  u32 ip = 0;
  if (host == nullptr || host[0] == '\0') {
    ip = socketTable.settings.ownIpOverride;
    if (ip == 0) ip = FirstOwnAddress();
    if (ip == 0) ip = kLoopbackIp;
  } else {
    std::vector<u32> ips;
    const i32 error = socketTable.settings.lookup(host, ips);
    if (error != 0 || ips.empty()) {
      socketTable.lastError = error != 0 ? error : ENXIO;
      return out;
    }
    ip = ips.front();
  }
  out->ip = ip;
  out->port = htons(port);
  return out;
}

const char* ListOwnIpAddresses(u32* count, const char* separator) {
  *count = 0;
  char* text = socketTable.ownAddressText;
  const int named = gethostname(text, kHostNameLimit);
  socketTable.lastError = errno;
  if (named != 0) return nullptr;
  text[kHostNameLimit - 1] = '\0';
  std::vector<u32> ips;
  const i32 error = socketTable.settings.lookup(text, ips);
  if (error != 0) {
    socketTable.lastError = error;
    return nullptr;
  }
  const std::size_t separatorLength = std::strlen(separator);
  std::size_t total = 0;
  std::size_t used = 0;
  text[0] = '\0';
  for (u32 ip : ips) {
    char dotted[16];
    FormatDotted(ip, dotted, sizeof dotted);
    const std::size_t length = std::strlen(dotted);
    // The running total counts the skipped loopback addresses too; stopping at the buffer's size
    // keeps the text and its end inside it.
    total += separatorLength + length;
    if (total >= sizeof socketTable.ownAddressText) break;
    if (std::strncmp(dotted, "127.", 4) == 0) continue;
    std::memcpy(text + used, dotted, length);
    std::memcpy(text + used + length, separator, separatorLength);
    used += length + separatorLength;
    text[used] = '\0';
    ++*count;
  }
  return text;
}

const char* NetAddressToText(const NetAddress* address) {
  FormatDotted(address->ip, socketTable.dottedText, sizeof socketTable.dottedText);
  return socketTable.dottedText;
}

u32 NetAddressHostIp(const NetAddress* address) { return ntohl(address->ip); }

const char* SocketErrorText() {
  std::snprintf(socketTable.errorText, sizeof socketTable.errorText, "%d %s",
                socketTable.lastError, std::strerror(socketTable.lastError));
  return socketTable.errorText;
}

void MakeNetAddress(NetAddress* out, u8 o1, u8 o2, u8 o3, u8 o4, u16 port) {
  const u8 octets[4] = {o4, o3, o2, o1};
  std::memcpy(&out->ip, octets, 4);
  out->port = htons(port);
}

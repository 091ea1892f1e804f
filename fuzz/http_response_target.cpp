// The HTTP client's response handling over hostile bytes. The input starts with the text's
// maximum length (a u16, less 8, so some are negative) and a piece length (1..255, or 0 for whole
// 1023-byte chunks), and goes on with the response. The response arrives over a socket pair in
// the socket table, one piece per receive, and is read twice: into a file and into a text.
// The file must hold exactly the bytes after the first two line feeds with only carriage returns
// between them (all of it is header when there are none), the read must end as a server's close,
// and the text must be the file's first bytes up to the maximum, cut at the first zero byte.
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_target.h"
#include "net/http_client.h"
#include "net/socket_table.h"

namespace {

// Longer responses say nothing new and only slow the run.
constexpr std::size_t kMaxResponse = 64 * 1024;
constexpr i32 kSlot = 5;

std::size_t BodyStart(const std::string& response) {
  for (std::size_t i = response.find('\n'); i != std::string::npos;
       i = response.find('\n', i + 1)) {
    const std::size_t next = response.find_first_not_of('\r', i + 1);
    if (next != std::string::npos && response[next] == '\n') return next + 1;
  }
  return response.size();
}

// Sends the response in pieces whose boundaries each receive keeps (a packet socket), from a
// thread so no piece waits on a full socket, and runs `read` on the other end as a table slot.
template <class Read>
void Deliver(const std::string& response, std::size_t piece, Read&& read) {
  int fds[2];
  if (socketpair(AF_UNIX, SOCK_SEQPACKET, 0, fds) != 0) std::abort();
  std::thread writer([&] {
    for (std::size_t at = 0; at < response.size(); at += piece) {
      const std::size_t count = std::min(piece, response.size() - at);
      const ssize_t sent = send(fds[1], response.data() + at, count, MSG_NOSIGNAL);
      if (sent != static_cast<ssize_t>(count)) break;
    }
    shutdown(fds[1], SHUT_WR);
  });
  socketTable.slots[kSlot].fd = fds[0];
  read();
  SocketClose(kSlot);  // a reader that stopped early must not leave the writer waiting
  writer.join();
  close(fds[1]);
}

}  // namespace

void FuzzHttpResponse(const u8* data, std::size_t size) {
  BeginFuzzInput();
  FuzzBytes input(data, size);
  const i32 maxLength = static_cast<i32>(input.Word()) - 8;
  const u8 pieceChoice = input.Byte();
  const std::size_t piece = pieceChoice == 0 ? kHttpChunkSize : pieceChoice;
  const std::string response(reinterpret_cast<const char*>(input.Rest()),
                             std::min(input.RestSize(), kMaxResponse));
  socketTable.initCount = 0;
  SocketSystemInit();

  char* fileBytes = nullptr;
  std::size_t fileSize = 0;
  std::FILE* file = open_memstream(&fileBytes, &fileSize);
  i32 closed = 0;
  Deliver(response, piece, [&] { closed = ReceiveHttpBodyToFile(kSlot, file); });
  std::fclose(file);
  const std::string body(fileBytes, fileSize);
  std::free(fileBytes);
  FUZZ_CHECK(closed == 1, "the end of the response was not taken as the server's close");
  FUZZ_CHECK(body == response.substr(BodyStart(response)), "the file is not the body");

  DynString text("before");
  Deliver(response, piece, [&] { ReceiveHttpBodyToText(kSlot, text, maxLength); });
  const std::string kept = body.substr(0, static_cast<std::size_t>(std::max(maxLength, 0)));
  FUZZ_CHECK(std::string(text.CStr(), text.Length()) == kept.substr(0, kept.find('\0')),
             "the text is not the file's beginning");
  SocketSystemShutdown();
}

// The HTTP GET client against a scripted loopback server (exact bytes, split into pieces) and
// against a real one, busybox's httpd, started on a free loopback port over a served folder.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "net/http_client.h"
#include "net/socket_commands.h"
#include "net/socket_table.h"
#include "tests/support/test_support.h"

namespace {

const DynString kHost("127.0.0.1");
constexpr const char* kBusybox = "/bin/busybox";

bool Readable(i32 slot, int waitMs) {
  pollfd entry{socketTable.slots[slot].fd, POLLIN, 0};
  return poll(&entry, 1, waitMs) == 1;
}

// How a scripted response ends: the server closes; it resets the connection; or it goes on
// sending body bytes (up to kFloodBytes) for as long as the client takes them, then closes.
enum class Ending { kClose, kReset, kFlood };
constexpr std::size_t kFloodBytes = 64 << 20;

// Answers `connections` connections in turn: reads the request, sends the pieces a few
// milliseconds apart (so they tend to arrive apart) and ends. Every wait is bounded.
class ScriptedServer {
 public:
  ScriptedServer(std::vector<std::string> pieces, int connections, Ending ending = Ending::kClose)
      : listening_(SocketListen(0)), thread_([this, pieces, connections, ending] {
          for (int i = 0; i < connections && Readable(listening_, 20000); ++i) {
            Serve(pieces, ending);
          }
        }) {}
  ~ScriptedServer() {
    Finish();
    SocketClose(listening_);
  }
  // Waits until the server has answered all its connections.
  void Finish() {
    if (thread_.joinable()) thread_.join();
  }
  int port() const { return SocketLocalPort(listening_); }
  std::vector<std::string> requests;
  std::size_t flooded = 0;  // body bytes the client took before it went away

 private:
  void Serve(const std::vector<std::string>& pieces, Ending ending) {
    const i32 slot = SocketAccept(listening_, nullptr);
    std::string request;
    char buffer[512];
    for (i32 n; request.find("\r\n\r\n") == std::string::npos && Readable(slot, 20000) &&
                (n = SocketReceive(slot, buffer, sizeof buffer)) > 0;) {
      request.append(buffer, static_cast<std::size_t>(n));
    }
    requests.push_back(request);
    for (const std::string& piece : pieces) {
      SocketSend(slot, piece.data(), static_cast<i32>(piece.size()), nullptr);
      usleep(3000);
    }
    const std::string body(1 << 16, 'f');
    while (ending == Ending::kFlood && flooded < kFloodBytes &&
           SocketSend(slot, body.data(), static_cast<i32>(body.size()), nullptr) > 0) {
      flooded += body.size();
    }
    if (ending == Ending::kReset) {  // no orderly close: the peer sees a reset
      const int fd = socketTable.slots[slot].fd;
      socketTable.slots[slot].fd = -1;
      const linger abort{1, 0};
      setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
      close(fd);
      return;
    }
    SocketClose(slot);
  }
  const i32 listening_;
  std::thread thread_;
};

// busybox's httpd in the foreground on a free loopback port over `folder`: its pid, or -1.
pid_t StartBusyboxHttpd(const std::string& folder, int& port) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    const i32 probe = SocketListen(0);  // a port that was free a moment ago
    port = SocketLocalPort(probe);
    SocketClose(probe);
    const std::string where = "127.0.0.1:" + std::to_string(port);
    const pid_t pid = fork();
    if (pid == 0) {
      dup2(open("/dev/null", O_WRONLY), STDERR_FILENO);
      execl(kBusybox, "busybox", "httpd", "-f", "-p", where.c_str(), "-h", folder.c_str(), nullptr);
      _exit(127);
    }
    for (int i = 0; i < 500 && waitpid(pid, nullptr, WNOHANG) == 0; ++i, usleep(10000)) {
      if (SocketCloseCommand(ConnectToHost(kHost, port)) == 1) return pid;
    }
    kill(pid, SIGKILL), waitpid(pid, nullptr, 0);  // it could not start: try another port
  }
  return -1;
}

class HttpClientTest : public testing::Test {
 protected:
  // The test's own hold on the socket layer: its servers' sockets outlive every request's.
  void SetUp() override {
    socketTable.initCount = 0;
    SocketSystemInit();
    socketTable.settings.bindIp = htonl(INADDR_LOOPBACK);
  }
  void TearDown() override {
    SocketSystemShutdown();
    socketTable.settings = SocketSettings{};
  }
  // The two commands over plain strings; the file is target_.
  i32 GetFile(int port, const char* path = "/", const char* host = "127.0.0.1") {
    return HttpGetToFile(DynString(host), DynString(path), port, DynString(target_.c_str()));
  }
  std::string GetText(int port, i32 maxLength, const std::string& path = "/",
                      const char* host = "127.0.0.1") {
    DynString text("stale");
    return HttpGetToString(text, DynString(host), DynString(path.c_str()), port, maxLength).CStr();
  }
  // GetFile's result in a child whose files may hold at most 1000 bytes, as on a disk that fills
  // up during the transfer.
  std::string GetFileOnAFullDisk(int port) {
    return RunInChild([&] {
             const rlimit small{1000, 1000};
             setrlimit(RLIMIT_FSIZE, &small);
             signal(SIGXFSZ, SIG_IGN);
             alarm(30);  // a client the server never answers must not outlive the test
             std::printf("%d", GetFile(port));
           }).output;
  }
  std::ptrdiff_t FilesInFolder() {
    return std::distance(std::filesystem::directory_iterator(folder_.path()), {});
  }
  ScopedTempDir folder_;
  const std::string target_ = folder_.File("page.bin");
};

TEST_F(HttpClientTest, ScriptedResponses) {
  const std::string longHeader = "HTTP/1.0 200 OK\r\nX: " + std::string(999, 'x') + "\r\n\r\n";
  const std::string zero("ab\0cd", 5);
  const struct {
    std::vector<std::string> pieces;
    std::string body, text;  // the text with at most 10 bytes
  } cases[] = {
      {{longHeader + "BODY"}, "BODY", "BODY"},  // the header fills the first 1023-byte chunk
      {{"HTTP/1.0 200 OK\nA: b\n\nhello"}, "hello", "hello"},
      {{"HTTP/1.0 200 OK\r\nA: b\r", "\n\r", "\nbo", "dy"}, "body", "body"},
      {{"\r\n\r\n", zero}, zero, "ab"},
      {{"HTTP/1.0 200 OK\r\nX: y\r\n"}, "", ""},  // no blank line: no body
      {{"\n\n0123456789AB", "CDEFG"}, "0123456789ABCDEFG", "0123456789"},
      {{}, "", ""},  // closed before answering
  };
  for (const auto& c : cases) {
    ScriptedServer server(c.pieces, 2);
    EXPECT_EQ(1, GetFile(server.port(), "/a b"));
    EXPECT_EQ(c.body, ReadFileBytes(target_)) << c.body;
    EXPECT_EQ(c.text, GetText(server.port(), 10));
    EXPECT_EQ(
        "GET /a b HTTP/1.0\r\nHost:127.0.0.1\r\nAccept: */*\r\nUser-Agent: Morvane\r\n\r\n",
        server.requests.at(0));
  }
  EXPECT_EQ(1u, socketTable.initCount);
  EXPECT_EQ(1, FilesInFolder());
}

TEST_F(HttpClientTest, FailuresKeepTheOldCopy) {
  ASSERT_TRUE(WriteFileBytes(target_, "old copy"));
  const i32 closed = SocketListen(0);
  const int closedPort = SocketLocalPort(closed);
  SocketClose(closed);
  EXPECT_EQ(0, GetFile(closedPort));  // refused
  socketTable.settings.lookup = [](const char*, std::vector<u32>&) { return ENXIO; };
  EXPECT_EQ(0, GetFile(closedPort, "/", "nowhere"));
  EXPECT_EQ("", GetText(closedPort, 10, "/", "nowhere"));
  socketTable.settings.lookup = PlatformHostLookup;
  {
    ScriptedServer server({"\n\n" + std::string(5000, 'b')}, 3);
    // Path and host fill the 1024-byte request by one byte too many, then exactly.
    EXPECT_EQ("", GetText(server.port(), 9, std::string(957, 'p')));
    EXPECT_EQ(0, HttpGetToFile(kHost, DynString("/"), server.port(), DynString("mem://10.20")));
    EXPECT_EQ("bbbbbbbbb", GetText(server.port(), 9, std::string(956, 'p')));
    EXPECT_EQ(1023u, server.requests.at(0).size());
    EXPECT_EQ("", GetText(server.port(), -1));
    ScriptedServer reset({"HTTP/1.0 200 OK\r\n\r\npart of the bo"}, 1, Ending::kReset);
    EXPECT_EQ(0, GetFile(reset.port()));  // a reset is no end of the body
    EXPECT_EQ("0", GetFileOnAFullDisk(server.port()));  // the disk fills up during the transfer
  }
  EXPECT_EQ("old copy", ReadFileBytes(target_));
  EXPECT_EQ(1, FilesInFolder());  // no download left behind
}

// A disk that fills up during the transfer: a write that fails stops the transfer at once, and a
// failure that shows only when the file is closed fails the download too.
TEST_F(HttpClientTest, FullDiskKeepsTheOldCopy) {
  ASSERT_TRUE(WriteFileBytes(target_, "old copy"));
  const struct {
    std::string response;
    Ending ending;
  } cases[] = {
      {"\n\n" + std::string(2000, 'b'), Ending::kClose},  // fits the file's buffer until the close
      {"\n\n", Ending::kFlood},  // more than any disk: the client must stop taking it
  };
  for (const auto& c : cases) {
    ScriptedServer server({c.response}, 1, c.ending);
    EXPECT_EQ("0", GetFileOnAFullDisk(server.port()));
    server.Finish();
    EXPECT_LT(server.flooded, kFloodBytes);
    EXPECT_EQ("old copy", ReadFileBytes(target_));
  }
  EXPECT_EQ(1, FilesInFolder());
}

// The download replaces the file that the name finds ignoring case, and a name near the file
// system's limit of 255 bytes works: its temporary file has a short name of its own.
TEST_F(HttpClientTest, TargetNames) {
  const std::string longName(250, 'n');
  const struct {
    std::string existing, asked;
  } cases[] = {{"casevariant.bin", "CASEVARIANT.BIN"}, {longName, longName}};
  for (const auto& c : cases) {
    ScopedTempDir folder;
    ASSERT_TRUE(WriteFileBytes(folder.File(c.existing), "old copy"));
    ScriptedServer server({"\n\nnew copy"}, 1);
    EXPECT_EQ(1, HttpGetToFile(kHost, DynString("/"), server.port(),
                               DynString(folder.File(c.asked).c_str())));
    EXPECT_EQ("new copy", ReadFileBytes(folder.File(c.existing)));
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(folder.path()), {}));
  }
}

TEST_F(HttpClientTest, RealServer) {
  ASSERT_EQ(0, access(kBusybox, X_OK)) << kBusybox << " is missing: tools/deps.sh installs it";
  ScopedTempDir served;
  std::string big(3 << 20, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 1023);
  ASSERT_TRUE(WriteFileBytes(served.File("big.bin"), big));
  ASSERT_TRUE(WriteFileBytes(served.File("page.txt"), std::string("hello\0world", 11)));
  int port = 0;
  const pid_t server = StartBusyboxHttpd(served.path(), port);
  ASSERT_GT(server, 0) << "busybox httpd did not start";
  const std::shared_ptr<void> stop(nullptr, [&](void*) {
    kill(server, SIGTERM), waitpid(server, nullptr, 0);  // stopped on every way out
  });
  EXPECT_EQ(1, GetFile(port, "/big.bin", "localhost"));
  EXPECT_TRUE(big == ReadFileBytes(target_));
  EXPECT_EQ("hello", GetText(port, 100, "/page.txt", "localhost"));
  EXPECT_EQ(1, GetFile(port, "/missing"));  // whatever the status
  EXPECT_NE(std::string::npos, ReadFileBytes(target_).find("404"));
}

}  // namespace

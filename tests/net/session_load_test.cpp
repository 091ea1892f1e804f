// The session under load as programs meet it: 16 programs in their own processes (program 0
// hosts) send texts to one another and to all, 100 a second each for three seconds, beside three
// stalled peers that register a player, ask for names over and over and never read the answers.
// Every delivery is checked at its player: none lost, none twice, none to the wrong player, each
// sender's texts in the order sent (the host's own player included); the stalled peers' connections
// must be closed and their players removed. The delivery times (median, p99, longest) are printed,
// not asserted: they depend on the machine. Everything stays on 127.0.0.1; every wait is bounded.
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/runtime_globals.h"
#include "net/session_commands.h"
#include "net/socket_table.h"
#include "tests/net/raw_peer.h"
#include "tests/net/session_wire.h"
#include "tests/support/test_support.h"

namespace {

constexpr int kPrograms = 16;
constexpr int kStalled = 3;
constexpr int kMessages = 300;      // per program: two every 20 ms for three seconds
constexpr int kPerTick = 2;         // a text to all, then one to a player, back to back
constexpr i64 kSendPeriodNs = 20000000;
// The limits below only end a broken run; a working one is done in a few seconds. A loaded
// machine slows every pass of the host, and the stalled peers are closed only once the host has
// answered enough of their questions to fill their sockets: seconds more under load.
constexpr i64 kDrainLimitNs = 30000000000;  // after its last send, for the last deliveries
constexpr i64 kStallLimitNs = 30000000000;  // a stalled peer gives up waiting for its close
constexpr int kChildAlarmSeconds = 90;      // no child outlives a broken test
constexpr int kParentWaitMs = 60000;

i64 NowNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// Who program `from` sends its text number `seq` to: every fourth to all (-1), the rest to the
// others in turn. The text after one to all is sent right behind it, so a player that got the
// second before the first would show.
int Target(int from, int seq) {
  if (seq % 4 == 0) return -1;
  return (from + 1 + seq * 7 % (kPrograms - 1)) % kPrograms;
}

int ExpectedAt(int me) {
  int count = 0;
  for (int from = 0; from < kPrograms; ++from) {
    for (int seq = 0; seq < kMessages && from != me; ++seq) {
      count += Target(from, seq) == me || Target(from, seq) == -1;
    }
  }
  return count;
}

// A child process and the two pipes the parent steers it by: one byte down means "go" (then
// "quit"), bytes up report its progress.
struct Child {
  pid_t pid = -1;
  int down = -1;
  int up = -1;
};

Child Spawn(const std::function<void(int down, int up)>& body) {
  int downPipe[2], upPipe[2];
  if (pipe(downPipe) != 0 || pipe(upPipe) != 0) return {};
  std::fflush(stdout);
  const pid_t pid = fork();
  if (pid == 0) {
    alarm(kChildAlarmSeconds);
    close(downPipe[1]);
    close(upPipe[0]);
    body(downPipe[0], upPipe[1]);
    _exit(0);
  }
  close(downPipe[0]);
  close(upPipe[1]);
  return Child{pid, downPipe[1], upPipe[0]};
}

// `count` bytes from a pipe within the parent's wait; fewer when the child went away or was late.
std::string ReadUp(int fd, std::size_t count) {
  std::string bytes;
  const i64 deadline = NowNs() + kParentWaitMs * 1000000LL;
  while (bytes.size() < count && NowNs() < deadline) {
    pollfd entry{fd, POLLIN, 0};
    if (poll(&entry, 1, 100) != 1) continue;
    char buffer[16];
    const ssize_t n = read(fd, buffer, std::min(sizeof buffer, count - bytes.size()));
    if (n <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

void Tell(int fd, char what) { (void)!write(fd, &what, 1); }
void AwaitWord(int fd) {
  char what = 0;
  while (read(fd, &what, 1) < 0 && errno == EINTR) {
  }
}

void StartSessionRuntime() {
  socketTable.settings.bindIp = socketTable.settings.ownIpOverride = htonl(INADDR_LOOPBACK);
  netReplyWait.polls = 100000;  // a loaded machine answers slowly
  netSession = NetCreateSession();
}

// Program `me`'s view of the run, written to its results file.
struct Deliveries {
  int received = 0;
  int errors = 0;
  std::string firstError = "-";
  std::vector<int> last = std::vector<int>(kPrograms, -1);  // per sender: its last seq
  std::vector<i64> latencyUs;
  std::vector<int> left;  // on the host: the players that left

  void Fail(const std::string& what) {
    if (errors++ == 0) firstError = what;
  }
};

// The ids of the 16 programs' players, found by name through the host's answers.
bool FindPrograms(std::vector<u16>& ids) {
  const i64 deadline = NowNs() + 20000000000LL;
  while (NowNs() < deadline) {
    int found = 0;
    const i32 count = NetCountPlayers();
    for (i32 i = 0; i < count; ++i) {
      const i32 id = NetGetPlayerId(i);
      int index = -1;
      if (std::sscanf(NetGetPlayerName(id).CStr(), "p%d", &index) == 1 && index >= 0 &&
          index < kPrograms && ids[index] == 0) {
        ids[index] = static_cast<u16>(id);
      }
    }
    for (u16 id : ids) found += id != 0;
    if (found == kPrograms) return true;
    usleep(5000);
  }
  return false;
}

void TakeDeliveries(int me, u16 player, const std::vector<u16>& ids, Deliveries& got) {
  for (;;) {
    const DynString text = NetTakeMessage(player);
    if (text.Length() == 0) break;
    const i64 now = NowNs();
    int from = -1, seq = -1, to = -2;
    long long sentNs = 0;
    std::sscanf(text.CStr(), "%d %d %d %lld", &from, &seq, &to, &sentNs);
    ++got.received;
    if (from < 0 || from >= kPrograms || from == me || seq < 0 || seq >= kMessages ||
        ids[from] != NetLastSenderId() || to != Target(from, seq) || (to != me && to != -1)) {
      got.Fail("misrouted: " + std::string(text.CStr()));
      continue;
    }
    if (seq <= got.last[from]) {
      got.Fail("out of order or twice: " + std::string(text.CStr()));
    }
    got.last[from] = std::max(got.last[from], seq);
    got.latencyUs.push_back((now - sentNs) / 1000);
  }
  if (me == 0) {
    while (const i32 id = NetTakeLeftPlayer()) got.left.push_back(id);
  }
}

void WriteResults(const std::string& file, const Deliveries& got, int sendFailures) {
  std::ofstream out(file);
  out << got.received << ' ' << got.errors << ' ' << sendFailures << '\n' << got.firstError << '\n';
  for (int id : got.left) out << id << ' ';
  out << '\n';
  for (i64 us : got.latencyUs) out << us << ' ';
  out << '\n';
}

// One program: registers "p<me>", learns the others' ids, then on "go" sends its texts on
// schedule while it takes what arrives, until all it expects has come (the host also waits for
// the stalled peers' players to leave). The host writes its port up first.
void RunProgram(int me, u16 port, int down, int up, const std::string& results) {
  StartSessionRuntime();
  if (me == 0) {
    if (!NetHostSession(*netSession, 0)) return;
    const u16 own = static_cast<u16>(SocketLocalPort(netSession->listenSocket));
    (void)!write(up, &own, sizeof own);
  } else if (NetJoinSession(DynString("127.0.0.1"), port) != 1) {
    return;
  }
  const std::string name = "p" + std::to_string(me);
  const u16 player = static_cast<u16>(NetRegisterPlayerCommand(DynString(name.c_str())));
  std::vector<u16> ids(kPrograms, 0);
  if (player == 0 || !FindPrograms(ids)) return;
  Tell(up, 'r');
  AwaitWord(down);
  Deliveries got;
  int sendFailures = 0;
  const int expected = ExpectedAt(me);
  const i64 start = NowNs();
  for (int seq = 0; seq < kMessages; ++seq) {
    while (NowNs() < start + seq / kPerTick * kSendPeriodNs) {
      TakeDeliveries(me, player, ids, got);
      usleep(200);
    }
    const int to = Target(me, seq);
    const std::string text = std::to_string(me) + " " + std::to_string(seq) + " " +
                             std::to_string(to) + " " + std::to_string(NowNs());
    sendFailures += NetSendMessage(player, to < 0 ? 0 : ids[to], DynString(text.c_str())) != 1;
  }
  const i64 deadline = NowNs() + kDrainLimitNs;
  while (NowNs() < deadline &&
         (got.received < expected || (me == 0 && static_cast<int>(got.left.size()) < kStalled))) {
    TakeDeliveries(me, player, ids, got);
    usleep(200);
  }
  WriteResults(results, got, sendFailures);
  Tell(up, 'd');
  AwaitWord(down);
}

// A peer that registers a player, then asks for its name over and over and never reads the
// answers. The first asks as fast as the host takes the questions (its unsent answers soon pass
// the host's bound, or its socket stays full for two seconds, whichever comes first). The others
// ask 2000 times, which is more answers (of 114 bytes) than the sockets between them hold but
// far fewer than the bound, then go on asking as a player the host does not know, which gets no
// answer: only the two seconds without progress close them. It writes whether, and how soon
// after "go", the host closed it.
void RunStalledPeer(int index, u16 port, int down, int up, const std::string& results) {
  const int fd = RawConnect(port, 4096);
  const std::string name = "stall" + std::to_string(index) + std::string(100, '.');
  WriteAll(fd, Registration(false, name.c_str()));
  const std::string registered = ReadWirePacket(fd);
  if (registered.size() != 8) return;
  const u16 id = ReadLE16(reinterpret_cast<const u8*>(registered.data()) + 3);
  Tell(up, 'r');
  AwaitWord(down);
  const std::string ask = Wire(kNetRequestName, 0, id, U16(id));
  const std::string unanswered = Wire(kNetRequestName, 0, 0xFEFE, U16(id));
  const i64 start = NowNs();
  bool closed = false;
  std::size_t at = 0;  // what a full socket took of the packet so far
  for (int asked = 0; !closed && NowNs() < start + kStallLimitNs;) {
    const bool quiet = index > 0 && asked >= 2000;
    const std::string& packet = quiet ? unanswered : ask;
    const ssize_t n =
        send(fd, packet.data() + at, packet.size() - at, MSG_NOSIGNAL | MSG_DONTWAIT);
    closed = n < 0 && errno != EAGAIN && errno != EWOULDBLOCK;
    if (n > 0 && (at += static_cast<std::size_t>(n)) == packet.size()) {
      at = 0;
      ++asked;
      if (quiet) usleep(10000);
    }
    if (n < 0 && !closed) usleep(100);
  }
  std::ofstream(results) << id << ' ' << closed << ' ' << (NowNs() - start) / 1000000 << '\n';
  Tell(up, 'd');
  AwaitWord(down);
}

std::vector<std::string> Lines(const std::string& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

template <class T>
std::vector<T> Numbers(const std::string& line) {
  std::istringstream in(line);
  std::vector<T> numbers;
  for (T n; in >> n;) numbers.push_back(n);
  return numbers;
}

TEST(SessionLoadTest, SixteenProgramsBesideStalledPeers) {
  ScopedTempDir folder;
  auto results = [&](const std::string& who) { return folder.File(who); };
  signal(SIGPIPE, SIG_IGN);  // a child that died early must not take the test down with it
  std::vector<Child> children;
  children.push_back(Spawn([&](int down, int up) { RunProgram(0, 0, down, up, results("p0")); }));
  const std::string portBytes = ReadUp(children[0].up, 2);
  ASSERT_EQ(2u, portBytes.size()) << "the host did not start";
  u16 port = 0;
  std::memcpy(&port, portBytes.data(), 2);
  for (int k = 0; k < kStalled; ++k) {
    const std::string file = results("s" + std::to_string(k));
    children.push_back(
        Spawn([&, k, file](int down, int up) { RunStalledPeer(k, port, down, up, file); }));
  }
  for (int me = 1; me < kPrograms; ++me) {
    const std::string file = results("p" + std::to_string(me));
    children.push_back(
        Spawn([&, me, file](int down, int up) { RunProgram(me, port, down, up, file); }));
  }
  bool ready = true;
  for (const Child& child : children) ready = ready && ReadUp(child.up, 1) == "r";
  for (const Child& child : children) Tell(child.down, 'g');
  bool done = ready;
  for (const Child& child : children) done = done && ReadUp(child.up, 1) == "d";
  for (const Child& child : children) {
    Tell(child.down, 'q');
    close(child.down);
    close(child.up);
  }
  for (const Child& child : children) {
    if (child.pid <= 0) continue;
    if (!ready || !done) kill(child.pid, SIGKILL);
    waitpid(child.pid, nullptr, 0);
  }
  signal(SIGPIPE, SIG_DFL);
  ASSERT_TRUE(ready) << "a program did not get ready";
  ASSERT_TRUE(done) << "a program did not finish";

  std::vector<i64> latency;
  int deliveries = 0;
  std::vector<int> left;
  for (int me = 0; me < kPrograms; ++me) {
    const std::vector<std::string> lines = Lines(results("p" + std::to_string(me)));
    ASSERT_EQ(4u, lines.size()) << "program " << me;
    const std::vector<int> counts = Numbers<int>(lines[0]);  // received, errors, failed sends
    EXPECT_EQ((std::vector<int>{ExpectedAt(me), 0, 0}), counts) << "program " << me << ": "
                                                                << lines[1];
    deliveries += counts.at(0);
    if (me == 0) left = Numbers<int>(lines[2]);
    const std::vector<i64> times = Numbers<i64>(lines[3]);
    latency.insert(latency.end(), times.begin(), times.end());
  }
  std::vector<long long> closedAfterMs;
  for (int k = 0; k < kStalled; ++k) {
    const std::vector<std::string> lines = Lines(results("s" + std::to_string(k)));
    ASSERT_EQ(1u, lines.size()) << "stalled peer " << k;
    const std::vector<long long> stalled = Numbers<long long>(lines[0]);  // id, closed, when
    ASSERT_EQ(3u, stalled.size());
    EXPECT_EQ(1, stalled[1]) << "stalled peer " << k << " was not closed";
    EXPECT_NE(left.end(), std::find(left.begin(), left.end(), stalled[0])) << "its player stayed";
    closedAfterMs.push_back(stalled[2]);
  }
  ASSERT_FALSE(latency.empty());
  std::sort(latency.begin(), latency.end());
  std::printf(
      "session load: %d programs, %d texts, %d deliveries; delivery median %.2f ms, p99 %.2f ms, "
      "max %.2f ms; stalled peers closed %lld, %lld and %lld ms after they began\n",
      kPrograms, kPrograms * kMessages, deliveries, latency[latency.size() / 2] / 1000.0,
      latency[latency.size() * 99 / 100] / 1000.0, latency.back() / 1000.0, closedAfterMs[0],
      closedAfterMs[1], closedAfterMs[2]);
}

}  // namespace

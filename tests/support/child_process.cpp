// Running a function in a forked child with its standard output captured, for the parts of the
// runtime that really end or replace the process, and for running out of memory.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>

#include "tests/support/test_support.h"

namespace {

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  for (ssize_t count; (count = read(fd, buffer, sizeof buffer)) != 0;) {
    if (count > 0) text.append(buffer, static_cast<std::size_t>(count));
    if (count < 0 && errno != EINTR) break;
  }
  return text;
}

int StatusOf(int waitStatus) {
  if (WIFEXITED(waitStatus)) return WEXITSTATUS(waitStatus);
  if (WIFSIGNALED(waitStatus)) return 128 + WTERMSIG(waitStatus);
  return -1;
}

}  // namespace

ChildResult RunInChild(const std::function<void()>& fn) {
  ChildResult result;
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return result;
  // Nothing the parent has buffered may be written a second time by the child.
  std::fflush(stdout);
  std::fflush(stderr);
  const pid_t child = fork();
  if (child == 0) {
    close(pipeFds[0]);
    dup2(pipeFds[1], STDOUT_FILENO);
    close(pipeFds[1]);
    fn();
    std::fflush(stdout);
    _exit(0);
  }
  close(pipeFds[1]);
  if (child > 0) result.output = ReadAll(pipeFds[0]);
  close(pipeFds[0]);
  if (child < 0) return result;
  int waitStatus = 0;
  while (waitpid(child, &waitStatus, 0) < 0 && errno == EINTR) {
  }
  result.exitStatus = StatusOf(waitStatus);
  return result;
}

ChildResult RunInChildWithMemoryHeadroom(std::size_t headroomBytes,
                                         const std::function<void()>& fn) {
  return RunInChild([&] {
    // The first field of statm is the address space in use, in pages.
    std::size_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t limit = pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) + headroomBytes;
    const rlimit space{limit, limit};
    if (pages == 0 || setrlimit(RLIMIT_AS, &space) != 0) {
      std::puts("cannot limit the address space");
      return;
    }
    fn();
  });
}

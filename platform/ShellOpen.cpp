#include "platform/ShellOpen.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace qv {

namespace {

// A shell starts the opener in a background subshell and exits at once, so the viewer keeps no child
// behind; the subshell writes the opener's exit status to descriptor 3, which the opener itself does
// not inherit (the programs it starts would hold the pipe open).
constexpr const char* Script = "( \"$0\" \"$1\" 3>&-; echo $? >&3 ) &";

class TFd {
public:
  explicit TFd(int fd = -1) : Fd(fd) {}
  ~TFd() { Close(); }
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;
  void Close() {
    if (Fd >= 0) ::close(Fd);
    Fd = -1;
  }
  int Fd;
};

}  // namespace

bool ShellOpen(const std::string& target, int waitMs, const std::string& opener) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return false;
  TFd readEnd(fds[0]), writeEnd(fds[1]);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, writeEnd.Fd, 3);
  std::string program = opener, argument = target;
  char* argv[] = {const_cast<char*>("sh"), const_cast<char*>("-c"), const_cast<char*>(Script), program.data(),
                  argument.data(), nullptr};
  pid_t pid;
  const int spawned = posix_spawn(&pid, "/bin/sh", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  writeEnd.Close();
  if (spawned != 0) return false;
  int status;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }

  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs);
  std::string reply;
  while (true) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return true;  // still busy: it found something to run
    pollfd p{readEnd.Fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return true;
    char buffer[16];
    const ssize_t n = ::read(readEnd.Fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // gone without a status
    reply.append(buffer, static_cast<size_t>(n));
    if (reply.find('\n') != std::string::npos || reply.size() > 8) break;
  }
  return !reply.empty() && reply[0] == '0' && (reply.size() == 1 || reply[1] == '\n');
}

}  // namespace qv

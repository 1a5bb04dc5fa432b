#include "platform/ShellOpen.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace qv {

namespace {

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

// The opener's file: a name without a slash is looked up along PATH, as a shell would.
std::string FindProgram(const std::string& name) {
  if (name.find('/') != std::string::npos) return name;
  const char* path = std::getenv("PATH");
  std::string folders = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t from = 0;
  while (from <= folders.size()) {
    size_t to = folders.find(':', from);
    if (to == std::string::npos) to = folders.size();
    std::string candidate = folders.substr(from, to - from);
    candidate = (candidate.empty() ? "." : candidate) + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    from = to + 1;
  }
  return {};
}

// Between fork and exec only calls that are safe in a child of a threaded program.
[[noreturn]] void RunOpener(const char* file, char* const argv[], int statusFd) {
  const int null = ::open("/dev/null", O_RDWR);
  if (null >= 0) {
    ::dup2(null, 0), ::dup2(null, 1), ::dup2(null, 2);
    if (null > 2) ::close(null);
  }
  // The keeper reports the opener's exit status; the opener itself does not inherit the pipe (the
  // programs it starts would hold it open).
  const pid_t opener = ::fork();
  if (opener == 0) {
    ::close(statusFd);
    ::execve(file, argv, environ);
    ::_exit(127);
  }
  char reply[2] = {'1', '\n'};
  int status = 0;
  if (opener > 0) {
    while (::waitpid(opener, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) reply[0] = '0';
  }
  if (::write(statusFd, reply, sizeof reply) < 0) {
  }
  ::_exit(0);
}

}  // namespace

bool ShellOpen(const std::string& target, int waitMs, const std::string& opener) {
  const std::string file = FindProgram(opener);
  if (file.empty()) return false;
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return false;
  TFd readEnd(fds[0]), writeEnd(fds[1]);

  // No shell: the target is the opener's one argument, whatever characters it holds. A child starts
  // a keeper and exits at once, so the viewer keeps no child behind; the keeper, adopted by the
  // system, waits for the opener and writes its verdict to the pipe.
  std::string program = opener, argument = target;
  char* argv[] = {program.data(), argument.data(), nullptr};
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    const pid_t keeper = ::fork();
    if (keeper == 0) {
      ::close(readEnd.Fd);
      RunOpener(file.c_str(), argv, writeEnd.Fd);
    }
    ::_exit(keeper < 0 ? 1 : 0);
  }
  writeEnd.Close();
  int status;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;

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

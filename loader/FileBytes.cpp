#include "loader/FileBytes.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/ReadErrors.h"

namespace qv {

namespace {

// Closes the descriptor on every way out.
class TDescriptor {
public:
  explicit TDescriptor(int fd) : Fd(fd) {}
  ~TDescriptor() {
    if (Fd >= 0) ::close(Fd);
  }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  int Fd;
};

}  // namespace

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes) {
  bytes.clear();
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  // Not blocking: should the name have become a pipe since, opening it does not wait for a writer.
  TDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.Fd < 0 || ::fstat(file.Fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  bytes.resize(static_cast<size_t>(st.st_size));
  size_t got = 0;
  while (got < bytes.size()) {
    ssize_t n = ::read(file.Fd, bytes.data() + got, bytes.size() - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      bytes.clear();
      throw TReadError("Cannot read \"" + path + "\": " + std::strerror(error));
    }
    if (n == 0) break;  // the file shrank while it was read
    got += static_cast<size_t>(n);
  }
  bytes.resize(got);
  return true;
}

}  // namespace qv

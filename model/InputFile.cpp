#include "model/InputFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

namespace {
constexpr size_t BufferSize = 64 * 1024;
}

TInputFile::~TInputFile() { Close(); }

bool TInputFile::Open(const std::string& path) {
  Close();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  Fd = fd;
  Path = path;
  FileSize = static_cast<uint64_t>(st.st_size);
  Consumed = 0;
  Begin = End = 0;
  Buffer.resize(BufferSize);
  return true;
}

void TInputFile::Close() {
  if (Fd >= 0) ::close(Fd);
  Fd = -1;
  Begin = End = 0;
}

bool TInputFile::Fill() {
  if (Begin < End) return true;
  if (Fd < 0) return false;
  for (;;) {
    ssize_t got = ::read(Fd, Buffer.data(), Buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      throw TReadError("Cannot read \"" + Path + "\": " + std::strerror(errno));
    }
    Begin = 0;
    End = static_cast<size_t>(got);
    return got > 0;
  }
}

size_t TInputFile::Read(void* target, size_t size) {
  auto* out = static_cast<uint8_t*>(target);
  size_t done = 0;
  while (done < size && Fill()) {
    size_t n = std::min(size - done, End - Begin);
    std::memcpy(out + done, Buffer.data() + Begin, n);
    Begin += n;
    done += n;
  }
  Consumed += done;
  return done;
}

size_t TInputFile::Skip(uint64_t size) {
  uint64_t done = 0;
  while (done < size && Fill()) {
    size_t n = static_cast<size_t>(std::min<uint64_t>(size - done, End - Begin));
    Begin += n;
    done += n;
  }
  Consumed += done;
  return static_cast<size_t>(done);
}

}  // namespace qv

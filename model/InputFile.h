// A document file read sequentially through a buffer: one system call per 64 KiB, not per value.
#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace qv {

// An operating-system error while reading (other than the end of the file): it ends the load.
class TReadError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class TInputFile {
public:
  TInputFile() = default;
  explicit TInputFile(const std::string& path) { Open(path); }
  ~TInputFile();
  TInputFile(const TInputFile&) = delete;
  TInputFile& operator=(const TInputFile&) = delete;

  // Opens a regular file for reading only; false (and not open) when the system refuses or it is no file.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return Fd >= 0; }

  // Reads up to `size` bytes; returns how many were read (fewer only at the end of the file).
  // Throws TReadError on an operating-system error.
  size_t Read(void* target, size_t size);
  // Discards up to `size` bytes; returns how many were passed over.
  size_t Skip(uint64_t size);

  uint64_t Size() const { return FileSize; }
  uint64_t Position() const { return Consumed; }
  uint64_t Remaining() const { return FileSize > Consumed ? FileSize - Consumed : 0; }
  bool AtEnd() { return !Fill(); }

private:
  bool Fill();  // makes at least one byte available; false at the end of the file
  int Fd = -1;
  std::string Path;
  uint64_t FileSize = 0;
  uint64_t Consumed = 0;
  std::vector<uint8_t> Buffer;
  size_t Begin = 0, End = 0;
};

}  // namespace qv

#include "model/QuorvelaFiles.h"

#include <cstring>

namespace qv {

namespace {
TSilentMessages SilentMessages;
}

TQuorvelaFile::TQuorvelaFile(const std::string& fileName, bool swapTagAndLength, TUserMessages* messages)
    : Name(fileName), Swap(swapTagAndLength), Msgs(messages ? messages : &SilentMessages) {
  File.Open(fileName);
}

template <class T> T TQuorvelaFile::ReadValue() {
  uint8_t bytes[sizeof(T)];
  if (!File.IsOpen() || File.Read(bytes, sizeof bytes) < sizeof bytes) return T{};
  uint64_t v = 0;
  for (size_t i = 0; i < sizeof(T); ++i) v |= static_cast<uint64_t>(bytes[i]) << (8 * i);
  T out;
  if constexpr (sizeof(T) == 8) {
    std::memcpy(&out, &v, 8);
  } else {
    auto narrow = static_cast<std::make_unsigned_t<T>>(v);
    std::memcpy(&out, &narrow, sizeof(T));
  }
  return out;
}

int TQuorvelaFile::ReadFileHeader() {
  if (!File.IsOpen()) return -1;
  char header[40] = {};
  File.Read(header, sizeof header);
  // The version text stands at bytes 8-11 ("7.00"): the number is formed from bytes 8, 10 and 11.
  const char digits[3] = {header[8], header[10], header[11]};
  int version = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return 0;
    version = version * 10 + (c - '0');
  }
  return version;
}

TRecordHeader TQuorvelaFile::ReadRecordHeader() {
  TRecordHeader h;
  if (!File.IsOpen()) {
    EndReached = true;
    return h;
  }
  uint8_t b[6];
  if (File.Read(b, 6) < 6) {
    EndReached = true;
    return h;
  }
  uint16_t w[3];
  for (int i = 0; i < 3; ++i) w[i] = static_cast<uint16_t>(b[2 * i] | (b[2 * i + 1] << 8));
  if (Swap) std::swap(w[0], w[2]);
  h.Tag = w[0];
  h.Middle = w[1];
  h.Length = w[2];
  return h;
}

int32_t TQuorvelaFile::ReadInteger() { return ReadValue<int32_t>(); }
uint8_t TQuorvelaFile::ReadByte() { return ReadValue<uint8_t>(); }
double TQuorvelaFile::ReadDouble() { return ReadValue<double>(); }
int64_t TQuorvelaFile::ReadInt64() { return ReadValue<int64_t>(); }

std::string TQuorvelaFile::ReadChars(int count) {
  if (!File.IsOpen() || count <= 0) return {};
  std::string s(static_cast<size_t>(count), '\0');
  s.resize(File.Read(s.data(), s.size()));
  return s;
}

void TQuorvelaFile::Skip(int count) {
  if (File.IsOpen() && count > 0) File.Skip(static_cast<uint64_t>(count));
}

}  // namespace qv

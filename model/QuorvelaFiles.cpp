#include "model/QuorvelaFiles.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <utility>

#include "model/Bytes.h"

namespace qv {

namespace {
TSilentMessages SilentMessages;
}

TQuorvelaFile::TQuorvelaFile(std::span<const uint8_t> bytes, bool swapTagAndLength, TUserMessages* messages)
    : Bytes(bytes), Swap(swapTagAndLength), Msgs(messages ? messages : &SilentMessages) {}

size_t TQuorvelaFile::Take(size_t count) {
  const size_t at = Pos;
  Pos += std::min(count, Left());
  return at;
}

template <class T> T TQuorvelaFile::ReadValue() {
  const TByteCursor c(Bytes);
  const size_t at = Take(sizeof(T));
  if (!c.Has(at, sizeof(T))) return T{};
  if constexpr (std::is_same_v<T, uint8_t>) return c.u8(at);
  else if constexpr (std::is_same_v<T, int32_t>) return c.i32(at);
  else if constexpr (std::is_same_v<T, int64_t>) return c.i64(at);
  else return c.f64(at);
}

int TQuorvelaFile::ReadFileHeader() {
  const TByteCursor c(Bytes);
  const size_t at = Take(40);
  // The version text stands at bytes 8-11 ("7.00"): the number is formed from bytes 8, 10 and 11.
  int version = 0;
  for (size_t i : {8, 10, 11}) {
    const uint8_t ch = c.Has(at + i, 1) ? c.u8(at + i) : 0;
    if (ch < '0' || ch > '9') return 0;
    version = version * 10 + (ch - '0');
  }
  return version;
}

TRecordHeader TQuorvelaFile::ReadRecordHeader() {
  TRecordHeader h;
  const TByteCursor c(Bytes);
  const size_t at = Take(6);
  if (!c.Has(at, 6)) {
    EndReached = true;
    return h;
  }
  uint16_t w[3] = {c.u16(at), c.u16(at + 2), c.u16(at + 4)};
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
  if (count <= 0) return {};
  const size_t at = Take(static_cast<size_t>(count));
  if (Pos == at) return {};
  return std::string(reinterpret_cast<const char*>(Bytes.data() + at), Pos - at);
}

void TQuorvelaFile::Skip(int count) {
  if (count > 0) Take(static_cast<size_t>(count));
}

}  // namespace qv

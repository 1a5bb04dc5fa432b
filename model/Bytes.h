// Little-endian decoding of record images: a cursor over a byte block that never reads past its end.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

namespace qv {

class TByteCursor {
public:
  explicit TByteCursor(std::span<const uint8_t> bytes) : Bytes(bytes) {}

  // True when `size` bytes at `offset` lie inside the block.
  bool Has(size_t offset, size_t size) const { return offset <= Bytes.size() && size <= Bytes.size() - offset; }

  uint8_t u8(size_t offset) const { return Has(offset, 1) ? Bytes[offset] : 0; }
  uint16_t u16(size_t offset) const { return static_cast<uint16_t>(Unsigned(offset, 2)); }
  int32_t i32(size_t offset) const { return static_cast<int32_t>(static_cast<uint32_t>(Unsigned(offset, 4))); }
  int64_t i64(size_t offset) const { return static_cast<int64_t>(Unsigned(offset, 8)); }
  double f64(size_t offset) const {
    uint64_t bits = Unsigned(offset, 8);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
  }
  // A text[capacity]: a length byte followed by `capacity` characters; the length is cut to the capacity.
  std::string text(size_t offset, size_t capacity) const {
    if (!Has(offset, 1 + capacity)) return {};
    size_t length = Bytes[offset];
    if (length > capacity) length = capacity;
    return std::string(reinterpret_cast<const char*>(Bytes.data() + offset + 1), length);
  }
  size_t Size() const { return Bytes.size(); }
  // The bytes from `offset` on, at most `size` of them (fewer where the block ends): older layouts
  // share a leading part of a record with the current one.
  TByteCursor Part(size_t offset, size_t size) const {
    if (offset > Bytes.size()) offset = Bytes.size();
    return TByteCursor(Bytes.subspan(offset, std::min(size, Bytes.size() - offset)));
  }

private:
  uint64_t Unsigned(size_t offset, size_t size) const {
    if (!Has(offset, size)) return 0;
    uint64_t v = 0;
    for (size_t i = 0; i < size; ++i) v |= static_cast<uint64_t>(Bytes[offset + i]) << (8 * i);
    return v;
  }
  std::span<const uint8_t> Bytes;
};

}  // namespace qv

// Record images assembled byte by byte in tests, independent of the document writer.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace qv::test {

class TByteImage {
public:
  TByteImage& U8(uint8_t v) {
    B.push_back(v);
    return *this;
  }
  TByteImage& U16(uint16_t v) { return Put(v, 2); }
  TByteImage& I32(int32_t v) { return Put(static_cast<uint32_t>(v), 4); }
  TByteImage& F64(double d) {
    uint64_t v;
    std::memcpy(&v, &d, 8);
    return Put(v, 8);
  }
  // A text[capacity]: the length byte, then `capacity` bytes of which the first length count.
  TByteImage& Text(const std::string& s, size_t capacity, int lengthByte = -1) {
    B.push_back(static_cast<uint8_t>(lengthByte >= 0 ? lengthByte : static_cast<int>(s.size())));
    for (size_t i = 0; i < capacity; ++i) B.push_back(i < s.size() ? static_cast<uint8_t>(s[i]) : 0);
    return *this;
  }
  TByteImage& Zeros(size_t n) {
    B.insert(B.end(), n, 0);
    return *this;
  }
  TByteImage& Fill(size_t n, uint8_t v) {
    B.insert(B.end(), n, v);
    return *this;
  }
  TByteImage& Append(const std::vector<uint8_t>& more) {
    B.insert(B.end(), more.begin(), more.end());
    return *this;
  }
  size_t Size() const { return B.size(); }
  const std::vector<uint8_t>& Bytes() const { return B; }

private:
  TByteImage& Put(uint64_t v, int n) {
    for (int i = 0; i < n; ++i) B.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
  std::vector<uint8_t> B;
};

}  // namespace qv::test

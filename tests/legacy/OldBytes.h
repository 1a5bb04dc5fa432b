// Old records assembled by hand in tests: fields put at their offsets in a block of zeros, and files
// joined from such blocks. Independent of the document writer.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace qv::test {

using TFileBytes = std::vector<uint8_t>;

class TOldBytes {
public:
  explicit TOldBytes(size_t size, uint8_t fill = 0) : B(size, fill) {}
  explicit TOldBytes(TFileBytes bytes) : B(std::move(bytes)) {}

  TOldBytes& U8(size_t off, uint8_t v) { return Put(off, v); }
  TOldBytes& U16(size_t off, uint16_t v) { return Put(off, v); }
  TOldBytes& I16(size_t off, int16_t v) { return Put(off, v); }
  TOldBytes& I32(size_t off, int32_t v) { return Put(off, v); }
  TOldBytes& F32(size_t off, float v) { return Put(off, v); }
  TOldBytes& F64(size_t off, double v) { return Put(off, v); }
  // A length byte (the text's length unless given) and the characters.
  TOldBytes& Str(size_t off, const std::string& s, int lengthByte = -1) {
    B.at(off) = static_cast<uint8_t>(lengthByte >= 0 ? lengthByte : static_cast<int>(s.size()));
    for (size_t i = 0; i < s.size(); ++i) B.at(off + 1 + i) = static_cast<uint8_t>(s[i]);
    return *this;
  }
  TOldBytes& Zeros(size_t off, size_t n) {
    for (size_t i = 0; i < n; ++i) B.at(off + i) = 0;
    return *this;
  }
  // Raw characters, no length byte.
  TOldBytes& Chars(size_t off, const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i) B.at(off + i) = static_cast<uint8_t>(s[i]);
    return *this;
  }
  const TFileBytes& Bytes() const { return B; }
  operator const TFileBytes&() const { return B; }

private:
  template <class T> TOldBytes& Put(size_t off, T v) {
    uint8_t raw[sizeof v];
    std::memcpy(raw, &v, sizeof v);
    for (size_t i = 0; i < sizeof v; ++i) B.at(off + i) = raw[i];
    return *this;
  }
  TFileBytes B;
};

// Appends blocks and little-endian counts to a file image.
class TOldFile {
public:
  TOldFile& Add(const TFileBytes& block) {
    B.insert(B.end(), block.begin(), block.end());
    return *this;
  }
  TOldFile& Count(int32_t n) { return Add(TOldBytes(4).I32(0, n)); }
  TOldFile& Byte(uint8_t v) {
    B.push_back(v);
    return *this;
  }
  // A 40-byte file header with the version text at bytes 8-11.
  TOldFile& Header(const std::string& version) {
    TOldBytes h(40, ' ');
    h.Chars(0, "QUORVELA").Chars(8, version);
    return Add(h);
  }
  const TFileBytes& Bytes() const { return B; }
  size_t Size() const { return B.size(); }

private:
  TFileBytes B;
};

}  // namespace qv::test

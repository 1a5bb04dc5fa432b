// A fixed old record built field by field at its offsets, for the writers of the older layouts.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "tools/writer/DocumentWriter.h"

namespace qv::writer {

class TOldBlock {
public:
  explicit TOldBlock(size_t size) : B(size, 0) {}

  TOldBlock& U8(size_t off, uint8_t v) { return Put(off, v); }
  TOldBlock& U16(size_t off, uint16_t v) { return Put(off, v); }
  TOldBlock& I16(size_t off, int16_t v) { return Put(off, v); }
  TOldBlock& I32(size_t off, int32_t v) { return Put(off, v); }
  TOldBlock& F32(size_t off, double v) { return Put(off, static_cast<float>(v)); }
  TOldBlock& F64(size_t off, double v) { return Put(off, v); }
  // A length byte and at most `capacity` characters.
  TOldBlock& Str(size_t off, const std::string& text, size_t capacity) {
    size_t n = std::min(text.size(), capacity);
    B.at(off) = static_cast<uint8_t>(n);
    for (size_t i = 0; i < n; ++i) B.at(off + 1 + i) = static_cast<uint8_t>(text[i]);
    return *this;
  }
  // Bytes of another block, as many as fit.
  TOldBlock& Copy(size_t off, const TBytes& from, size_t fromOffset, size_t size) {
    for (size_t i = 0; i < size && fromOffset + i < from.size() && off + i < B.size(); ++i)
      B[off + i] = from[fromOffset + i];
    return *this;
  }
  const TBytes& Bytes() const { return B; }

private:
  template <class T> TOldBlock& Put(size_t off, T v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof v);
    for (size_t i = 0; i < sizeof v; ++i) B.at(off + i) = static_cast<uint8_t>(bits >> (8 * i));
    return *this;
  }
  TBytes B;
};

// The current record image of a described object.
template <class T> TBytes CurrentImage(T& obj, size_t size = T::RecordSize) {
  TImageWriter w;
  w.Record(obj, size);
  return w.Bytes();
}

}  // namespace qv::writer

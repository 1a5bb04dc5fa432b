// Writes documents for tests and samples: the tagged layout ("7.00", as *.mnf or *.mvf) and the record
// image ("8.01"). Test code only: the viewer itself never writes documents.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "model/Fields.h"

namespace qv::writer {

using TBytes = std::vector<uint8_t>;

void SaveFile(const std::string& path, const TBytes& bytes);
// A 40-byte file header with `version` ("7.00", "8.01", ...) at bytes 8-11.
TBytes FileHeader(const std::string& version);

class TTaggedWriter {
public:
  explicit TTaggedWriter(bool viewerFile, const std::string& version = "7.00");

  // One record: a header (tag, middle, length; tag and length exchanged in a viewer file) and its payload.
  void Record(uint16_t tag, const TBytes& payload, uint16_t middle = 0);
  void Integer(uint16_t tag, int32_t v);
  void Byte(uint16_t tag, uint8_t v);
  void Double(uint16_t tag, double v);
  void Int64(uint16_t tag, int64_t v);
  void Chars(uint16_t tag, const std::string& text);
  // A record without payload: the opening or end record of a section, or the end tag 1999.
  void Mark(uint16_t tag) { Record(tag, {}); }

  // Every tagged field of a model object, in the order of its description.
  template <class T> void Fields(T& obj);

  const TBytes& Bytes() const { return Out; }
  void Save(const std::string& path) const { SaveFile(path, Out); }

private:
  bool Swap;
  TBytes Out;
};

class TTaggedFieldWriter {
public:
  explicit TTaggedFieldWriter(TTaggedWriter& w) : W(w) {}
  template <class T> void Field(const char*, T& f, size_t, T, TTag t = {}) {
    if (t.Tag == 0) return;
    if (t.Enc != TEnc::Native) return W.Integer(t.Tag, static_cast<int32_t>(f));
    if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, uint8_t>) W.Byte(t.Tag, static_cast<uint8_t>(f));
    else if constexpr (std::is_same_v<T, double>) W.Double(t.Tag, f);
    else if constexpr (std::is_same_v<T, int64_t>) W.Int64(t.Tag, f);
    else W.Integer(t.Tag, static_cast<int32_t>(f));
  }
  void Text(const char*, std::string& f, size_t, size_t, const char*, TTag t = {}) {
    if (t.Tag != 0) W.Chars(t.Tag, f);
  }
  template <class T, size_t N> void Array(const char*, T (&f)[N], size_t, T, uint16_t firstTag = 0) {
    if (firstTag == 0) return;
    for (size_t i = 0; i < N; ++i) {
      if constexpr (std::is_same_v<T, double>) W.Double(static_cast<uint16_t>(firstTag + i), f[i]);
      else W.Integer(static_cast<uint16_t>(firstTag + i), static_cast<int32_t>(f[i]));
    }
  }
  template <class T, size_t N, class D> void Array(const char* name, T (&f)[N], size_t off, const D& def, const uint16_t (&tags)[N]) {
    for (size_t i = 0; i < N; ++i) Field(name, f[i], off, DefaultAt(def, i), TTag(tags[i]));
  }
  template <size_t N> void Points(const char*, TXYPoint (&f)[N], size_t, double, const uint16_t (&tags)[N][2]) {
    for (size_t i = 0; i < N; ++i) {
      W.Double(tags[i][0], f[i].X);
      W.Double(tags[i][1], f[i].Y);
    }
  }
  template <class S, class... A> void Struct(const char*, S& s, size_t, A&&... args) { s.Describe(*this, args...); }
  template <class B> void Bit(B& set, uint64_t bit, uint16_t tag) { W.Byte(tag, (set & bit) != 0 ? 1 : 0); }
  void Lines(const char*, TStringList& lines, uint16_t tag) {
    for (const auto& line : lines) W.Chars(tag, line);
  }
  void Integers(const char*, TIntegerList& list, uint16_t tag) {
    for (int i = 0; i < list.Count(); ++i) W.Integer(tag, list.Value(i));
  }
  template <class O> void Owned(const char*, O&) {}

private:
  TTaggedWriter& W;
};

template <class T> void TTaggedWriter::Fields(T& obj) {
  TTaggedFieldWriter v(*this);
  obj.Describe(v);
}

// Builds record images: fixed records laid out by offset, counts, raw bytes.
class TImageWriter {
public:
  void Integer(int32_t v);
  void Double(double v);
  void Raw(const TBytes& bytes) { Out.insert(Out.end(), bytes.begin(), bytes.end()); }
  // A list of text lines: an int32 count, then one 256-byte text[255] per line.
  void Lines(const TStringList& lines);
  // The fixed record of a model object: its fields at their offsets in a block of `size` zero bytes.
  template <class T> void Record(T& obj, size_t size = T::RecordSize);

  TBytes& Bytes() { return Out; }
  void Save(const std::string& path) const { SaveFile(path, Out); }

private:
  TBytes Out;
};

class TImageFieldWriter {
public:
  TImageFieldWriter(TBytes& block, size_t base) : B(block), Base(base) {}
  template <class T> void Field(const char*, T& f, size_t off, T, TTag = {}) {
    if constexpr (std::is_same_v<T, bool>) Put(off, static_cast<uint8_t>(f ? 1 : 0));
    else Put(off, f);
  }
  void Text(const char*, std::string& f, size_t off, size_t cap, const char*, TTag = {}) {
    size_t n = std::min(f.size(), cap);
    B.at(Base + off) = static_cast<uint8_t>(n);
    std::memcpy(B.data() + Base + off + 1, f.data(), n);
  }
  template <class T, size_t N> void Array(const char*, T (&f)[N], size_t off, T, uint16_t = 0) {
    for (size_t i = 0; i < N; ++i) Put(off + i * sizeof(T), f[i]);
  }
  template <class T, size_t N, class D> void Array(const char* name, T (&f)[N], size_t off, const D&, const uint16_t (&)[N]) {
    Array(name, f, off, T{});
  }
  template <size_t N> void Points(const char*, TXYPoint (&f)[N], size_t off, double, const uint16_t (&)[N][2]) {
    for (size_t i = 0; i < N; ++i) {
      Put(off + 16 * i, f[i].X);
      Put(off + 16 * i + 8, f[i].Y);
    }
  }
  template <class S, class... A> void Struct(const char*, S& s, size_t off, A&&... args) {
    TImageFieldWriter inner(B, Base + off);
    s.Describe(inner, args...);
  }
  template <class Bt> void Bit(Bt&, uint64_t, uint16_t) {}
  // Lines and integer lists follow the fixed record; the document writer appends them.
  void Lines(const char*, TStringList&, uint16_t) {}
  void Integers(const char*, TIntegerList&, uint16_t) {}
  template <class O> void Owned(const char*, O&) {}

private:
  template <class T> void Put(size_t off, T v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof v);
    for (size_t i = 0; i < sizeof v; ++i) B.at(Base + off + i) = static_cast<uint8_t>(bits >> (8 * i));
  }
  TBytes& B;
  size_t Base;
};

template <class T> void TImageWriter::Record(T& obj, size_t size) {
  TBytes block(size, 0);
  TImageFieldWriter v(block, 0);
  obj.Describe(v);
  Raw(block);
}

}  // namespace qv::writer

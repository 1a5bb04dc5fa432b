// Every model class describes its scalar fields once, in the order of its record table:
//
//   template <class V> void Describe(V& v) {
//     v.Field("Number", Number, 0, 0, TTag(10010));        // name, field, record offset, default, tag
//     v.Text("Remark", Remark, 64, 50, "", TTag(20300));    // ... capacity, default, tag
//     v.Bit(Flags, 2, 16010);                               // a byte record that sets a bit
//     v.Owned("Steps", Steps);                              // an owned list or sub-object
//     v.Array("Sizes", Sizes, 28, 2.5, SizeTags);           // fixed array, one tag per element
//     v.Array("Sizes", Sizes, 28, SizeDefaults, SizeTags);  // ... and one default per element
//     v.Points("Views", Views, 684, 0.0, ViewTags);         // fixed array of X, Y points, a tag each
//     v.Lines("Comments", Comments, 4200);                  // text lines, one record per line
//     v.Integers("Values", Values, 41100);                  // integers, one record per value
//   }
//
// Text lines and integer lists follow the fixed record in a record image; the owner reads them there.
//
// The visitors below turn that one description into the defaults (`Reset`), the decoding of a record
// image, the reading of one tagged record, and the dump. A field's type selects its default encoding in
// the tagged layout; TTag names another where the file stores it differently.
#pragma once
#include <cstdint>
#include <string>
#include <type_traits>

#include "geometry/XYPoints.h"
#include "model/Bytes.h"
#include "model/IntegerLists.h"
#include "model/QuorvelaFiles.h"
#include "model/StringLists.h"

namespace qv {

enum class TEnc : uint8_t {
  Native,      // the field's own type: integer, byte, double, integer64, characters
  Integer,     // a 32-bit integer; for a boolean nonzero is true; for a byte the low byte is kept
  ThreeState,  // a 32-bit integer giving 0, 1, or 2 for any other value
  NonZero,     // a 32-bit integer giving 1 when nonzero, else 0
  LowByte,     // a 32-bit integer of which only the low byte counts: a boolean is true when it is nonzero
};

struct TTag {
  constexpr TTag() = default;
  constexpr explicit TTag(uint16_t tag, TEnc enc = TEnc::Native) : Tag(tag), Enc(enc) {}
  uint16_t Tag = 0;  // 0: the field has no record in the tagged layout
  TEnc Enc = TEnc::Native;
};

// The default of element `i` of an array described with one default for all elements or one each.
template <class T> constexpr const T& DefaultAt(const T& def, size_t) { return def; }
template <class T, size_t N> constexpr const T& DefaultAt(const T (&defs)[N], size_t i) { return defs[i]; }

template <class T> concept ListLike = requires(T& t) { t.Clear(); t.Count(); };

// Sets every described field to its default; owned lists are emptied and owned objects reset.
class TResetVisitor {
public:
  template <class T> void Field(const char*, T& f, size_t, T def, TTag = {}) { f = def; }
  void Text(const char*, std::string& f, size_t, size_t, const char* def, TTag = {}) { f = def; }
  template <class T, size_t N> void Array(const char*, T (&f)[N], size_t, T def, uint16_t = 0) {
    for (auto& x : f) x = def;
  }
  template <class T, size_t N, class D> void Array(const char*, T (&f)[N], size_t, const D& def, const uint16_t (&)[N]) {
    for (size_t i = 0; i < N; ++i) f[i] = DefaultAt(def, i);
  }
  template <size_t N> void Points(const char*, TXYPoint (&f)[N], size_t, double def, const uint16_t (&)[N][2]) {
    for (auto& p : f) p = {def, def};
  }
  template <class S, class... A> void Struct(const char*, S& s, size_t, A&&... args) { s.Describe(*this, args...); }
  template <class B> void Bit(B&, uint64_t, uint16_t) {}
  void Lines(const char*, TStringList& lines, uint16_t) { lines.Clear(); }
  void Integers(const char*, TIntegerList& list, uint16_t) { list.Clear(); }
  template <class O> void Owned(const char*, O& o) {
    if constexpr (ListLike<O>) o.Clear(); else o.Reset();
  }
};

template <class T> void ResetFields(T& obj) {
  TResetVisitor v;
  obj.Describe(v);
}

// Decodes the fields of a record image; a field that the block does not hold completely keeps its value.
class TImageVisitor {
public:
  explicit TImageVisitor(const TByteCursor& c, size_t base = 0) : C(c), Base(base) {}
  template <class T> void Field(const char*, T& f, size_t off, T, TTag = {}) {
    off += Base;
    if (!C.Has(off, sizeof(T))) return;
    if constexpr (std::is_same_v<T, bool>) f = C.u8(off) != 0;
    else if constexpr (std::is_same_v<T, uint8_t>) f = C.u8(off);
    else if constexpr (std::is_same_v<T, uint16_t>) f = C.u16(off);
    else if constexpr (std::is_same_v<T, int32_t>) f = C.i32(off);
    else if constexpr (std::is_same_v<T, int64_t>) f = C.i64(off);
    else if constexpr (std::is_same_v<T, uint64_t>) f = static_cast<uint64_t>(C.i64(off));
    else if constexpr (std::is_same_v<T, double>) f = C.f64(off);
    else static_assert(sizeof(T) == 0, "unsupported field type");
  }
  void Text(const char*, std::string& f, size_t off, size_t cap, const char*, TTag = {}) {
    if (C.Has(Base + off, cap + 1)) f = C.text(Base + off, cap);
  }
  template <class T, size_t N> void Array(const char* name, T (&f)[N], size_t off, T def, uint16_t = 0) {
    for (size_t i = 0; i < N; ++i) Field(name, f[i], off + i * sizeof(T), def);
  }
  template <class T, size_t N, class D> void Array(const char* name, T (&f)[N], size_t off, const D&, const uint16_t (&)[N]) {
    Array(name, f, off, T{});
  }
  template <size_t N> void Points(const char* name, TXYPoint (&f)[N], size_t off, double def, const uint16_t (&)[N][2]) {
    for (size_t i = 0; i < N; ++i) {
      Field(name, f[i].X, off + 16 * i, def);
      Field(name, f[i].Y, off + 16 * i + 8, def);
    }
  }
  template <class S, class... A> void Struct(const char*, S& s, size_t off, A&&... args) {
    TImageVisitor inner(C, Base + off);
    s.Describe(inner, args...);
  }
  template <class B> void Bit(B&, uint64_t, uint16_t) {}
  void Lines(const char*, TStringList&, uint16_t) {}
  void Integers(const char*, TIntegerList&, uint16_t) {}
  template <class O> void Owned(const char*, O&) {}

private:
  const TByteCursor& C;
  size_t Base;
};

template <class T> void DecodeFields(T& obj, const TByteCursor& c) {
  TImageVisitor v(c);
  obj.Describe(v);
}

// Reads the value of one tagged record into the field that the record's tag names, if any.
class TTagVisitor {
public:
  TTagVisitor(TQuorvelaFile& file, const TRecordHeader& h) : F(file), H(h) {}
  bool Handled = false;

  template <class T> void Field(const char*, T& f, size_t, T, TTag t = {}) {
    if (Handled || t.Tag == 0 || t.Tag != H.Tag) return;
    Handled = true;
    if (t.Enc == TEnc::ThreeState) {
      int32_t i = F.ReadInteger();
      f = static_cast<T>(i == 0 ? 0 : i == 1 ? 1 : 2);
    } else if (t.Enc == TEnc::NonZero) {
      f = static_cast<T>(F.ReadInteger() != 0 ? 1 : 0);
    } else if (t.Enc == TEnc::LowByte) {
      f = static_cast<T>(F.ReadInteger() & 0xFF);
    } else if (t.Enc == TEnc::Integer) {
      int32_t i = F.ReadInteger();
      if constexpr (std::is_same_v<T, bool>) f = i != 0;
      else f = static_cast<T>(i);  // bytes keep the low byte
    } else if constexpr (std::is_same_v<T, bool>) f = F.ReadByte() != 0;
    else if constexpr (std::is_same_v<T, uint8_t>) f = F.ReadByte();
    else if constexpr (std::is_same_v<T, int32_t>) f = F.ReadInteger();
    else if constexpr (std::is_same_v<T, int64_t>) f = F.ReadInt64();
    else if constexpr (std::is_same_v<T, uint64_t>) f = static_cast<uint64_t>(F.ReadInt64());
    else if constexpr (std::is_same_v<T, double>) f = F.ReadDouble();
    else if constexpr (std::is_same_v<T, uint16_t>) f = static_cast<uint16_t>(F.ReadInteger());
    else static_assert(sizeof(T) == 0, "unsupported field type");
  }
  void Text(const char*, std::string& f, size_t, size_t cap, const char*, TTag t = {}) {
    if (Handled || t.Tag == 0 || t.Tag != H.Tag) return;
    Handled = true;
    f = F.ReadChars(H.Length);
    if (f.size() > cap) f.resize(cap);
  }
  template <class T, size_t N> void Array(const char*, T (&f)[N], size_t, T, uint16_t firstTag = 0) {
    if (Handled || firstTag == 0 || H.Tag < firstTag || H.Tag >= firstTag + N) return;
    Handled = true;
    if constexpr (std::is_same_v<T, double>) f[H.Tag - firstTag] = F.ReadDouble();
    else f[H.Tag - firstTag] = static_cast<T>(F.ReadInteger());
  }
  // Arrays with a tag per element read each element in the encoding of its own type.
  template <class T, size_t N, class D> void Array(const char* name, T (&f)[N], size_t off, const D& def, const uint16_t (&tags)[N]) {
    for (size_t i = 0; i < N && !Handled; ++i) Field(name, f[i], off, DefaultAt(def, i), TTag(tags[i]));
  }
  template <size_t N> void Points(const char* name, TXYPoint (&f)[N], size_t off, double def, const uint16_t (&tags)[N][2]) {
    for (size_t i = 0; i < N && !Handled; ++i) {
      Field(name, f[i].X, off, def, TTag(tags[i][0]));
      Field(name, f[i].Y, off, def, TTag(tags[i][1]));
    }
  }
  template <class S, class... A> void Struct(const char*, S& s, size_t, A&&... args) {
    if (!Handled) s.Describe(*this, args...);
  }
  // A byte record: nonzero sets the bit, zero leaves it as it is.
  template <class B> void Bit(B& set, uint64_t bit, uint16_t tag) {
    if (Handled || tag != H.Tag) return;
    Handled = true;
    if (F.ReadByte() != 0) set = static_cast<B>(set | bit);
  }
  // Every record of the tag appends one line, whatever its length.
  void Lines(const char*, TStringList& lines, uint16_t tag) {
    if (Handled || tag == 0 || tag != H.Tag) return;
    Handled = true;
    lines.Add(F.ReadChars(H.Length));
  }
  void Integers(const char*, TIntegerList& list, uint16_t tag) {
    if (Handled || tag == 0 || tag != H.Tag) return;
    Handled = true;
    list.Add(F.ReadInteger());
  }
  template <class O> void Owned(const char*, O&) {}

private:
  TQuorvelaFile& F;
  const TRecordHeader& H;
};

// Reads one record into the field its tag names; false when no field of `obj` has that tag.
template <class T> bool ReadTaggedField(T& obj, TQuorvelaFile& file, const TRecordHeader& h) {
  TTagVisitor v(file, h);
  obj.Describe(v);
  return v.Handled;
}

}  // namespace qv

// The document as JSON: every field under its name in record-table order, owned lists and objects
// under their field names. Texts are decoded from Windows-1252; doubles read back to the same value.
#pragma once
#include <cmath>
#include <string>
#include <type_traits>
#include <vector>

#include <nlohmann/json.hpp>

#include "model/Fields.h"
#include "model/Texts.h"

namespace qv {

using TJson = nlohmann::ordered_json;

TJson DoubleJson(double d);

template <class T> concept DumpsItself = requires(const T& t) { { DumpJson(t) } -> std::same_as<TJson>; };
template <class T> concept HasItems = requires(const T& t) { t.Count(); t.Items(0); };

class TDumpVisitor {
public:
  explicit TDumpVisitor(TJson& out) : J(out) {}
  template <class T> void Field(const char* name, T& f, size_t, T, TTag = {}) {
    if constexpr (std::is_same_v<T, double>) J[name] = DoubleJson(f);
    else if constexpr (std::is_same_v<T, bool>) J[name] = f;
    else J[name] = static_cast<std::conditional_t<std::is_signed_v<T>, int64_t, uint64_t>>(f);
  }
  void Text(const char* name, std::string& f, size_t, size_t, const char*, TTag = {}) { J[name] = Cp1252ToUtf8(f); }
  template <class T, size_t N> void Array(const char* name, T (&f)[N], size_t, T, uint16_t = 0) {
    J[name] = ArrayJson(f);
  }
  template <class T, size_t N, class D> void Array(const char* name, T (&f)[N], size_t, const D&, const uint16_t (&)[N]) {
    J[name] = ArrayJson(f);
  }
  // Each point as {"X": x, "Y": y}, like a point described on its own.
  template <size_t N> void Points(const char* name, TXYPoint (&f)[N], size_t, double, const uint16_t (&)[N][2]) {
    TJson points = TJson::array();
    for (const auto& p : f) points.push_back(TJson{{"X", DoubleJson(p.X)}, {"Y", DoubleJson(p.Y)}});
    J[name] = std::move(points);
  }
  template <class S, class... A> void Struct(const char* name, S& s, size_t, A&&... args) {
    TJson inner = TJson::object();
    TDumpVisitor v(inner);
    s.Describe(v, args...);
    J[name] = std::move(inner);
  }
  template <class B> void Bit(B&, uint64_t, uint16_t) {}
  void Lines(const char* name, TStringList& lines, uint16_t) {
    TJson a = TJson::array();
    for (const auto& line : lines) a.push_back(Cp1252ToUtf8(line));
    J[name] = std::move(a);
  }
  // The integers as the list keeps them: eight hexadecimal digits each.
  void Integers(const char* name, TIntegerList& list, uint16_t) { J[name] = list.Lines(); }
  template <class O> void Owned(const char* name, O& o) { J[name] = Dump(o); }

  template <class O> static TJson Dump(O& o) {
    if constexpr (DumpsItself<O>) {
      return DumpJson(o);
    } else if constexpr (HasItems<O>) {
      TJson a = TJson::array();
      for (int i = 0; i < o.Count(); ++i) a.push_back(Dump(o.Items(i)));
      return a;
    } else {
      TJson j = TJson::object();
      TDumpVisitor v(j);
      o.Describe(v);
      return j;
    }
  }

private:
  template <class T, size_t N> static TJson ArrayJson(T (&f)[N]) {
    TJson a = TJson::array();
    for (auto& x : f) {
      if constexpr (std::is_same_v<T, double>) a.push_back(DoubleJson(x));
      else a.push_back(x);
    }
    return a;
  }
  TJson& J;
};

template <class T> TJson DumpObject(T& obj) { return TDumpVisitor::Dump(obj); }

class TManifold;
// {"FileName": ..., every record field, then the owned objects}.
TJson DumpDocument(TManifold& document);

}  // namespace qv

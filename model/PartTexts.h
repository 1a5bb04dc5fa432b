// The 276-byte block of part texts kept by the document and by every hole.
#pragma once
#include <cstdint>
#include <string>

#include "model/Fields.h"

namespace qv {

class TPartTexts {
public:
  static constexpr size_t RecordSize = 276;
  TPartTexts() { Reset(); }
  void Reset() { ResetFields(*this); }

  std::string Text7010, Text7020, Text7030, Text7040;
  uint8_t Value7050;
  std::string Text7060;

  // The manifold header section does not read tag 7060; holes do.
  template <class V> void Describe(V& v, bool readsText7060 = true) {
    v.Text("Text7010", Text7010, 0, 50, "", TTag(7010));
    v.Text("Text7020", Text7020, 51, 30, "", TTag(7020));
    v.Text("Text7030", Text7030, 82, 70, "", TTag(7030));
    v.Text("Text7040", Text7040, 153, 50, "", TTag(7040));
    v.Field("Value7050", Value7050, 204, uint8_t{1}, TTag(7050));
    v.Text("Text7060", Text7060, 205, 70, "", readsText7060 ? TTag(7060) : TTag());
  }
};

}  // namespace qv

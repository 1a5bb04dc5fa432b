// A block of text lines on a drawing layout. Stored only.
#pragma once
#include <cstdint>
#include <string>

#include "model/CurrentItemLists.h"
#include "model/Fields.h"
#include "model/StringLists.h"

namespace qv {

class TTextBlock {
public:
  // The fixed part; the lines follow it in a record image.
  static constexpr size_t RecordSize = 132;
  static constexpr size_t MinImageSize = RecordSize + 4;

  TTextBlock() { Reset(); }
  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  bool ReadRecord(TRecordFile& file);

  std::string Name;
  double Setting45020;
  std::string Setting45030;
  double Setting45050;
  TStringList Lines;

  template <class V> void Describe(V& v) {
    v.Text("Name", Name, 0, 80, "", TTag(45010));
    v.Field("Setting45020", Setting45020, 84, 3.5, TTag(45020));
    v.Text("Setting45030", Setting45030, 92, 30, "", TTag(45030));
    v.Field("Setting45050", Setting45050, 124, 0.0, TTag(45050));
    v.Lines("Lines", Lines, 45040);
  }
};

class TTextBlockList : public TCurrentItemList<TTextBlock> {};

}  // namespace qv

// A named value of a drawing layout (title-block fields).
#pragma once
#include <cstdint>
#include <string>

#include "model/CurrentItemLists.h"
#include "model/Fields.h"

namespace qv {

class TAttribute {
public:
  static constexpr size_t RecordSize = 164;
  static constexpr size_t MinImageSize = RecordSize;

  TAttribute() { Reset(); }
  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  // True only when the whole record was read.
  bool ReadRecord(TRecordFile& file);

  int32_t RecordValue;  // carried only by record images
  std::string Name;
  std::string Value;

  template <class V> void Describe(V& v) {
    v.Field("RecordValue", RecordValue, 0, 0);
    v.Text("Name", Name, 4, 30, "", TTag(44010));
    v.Text("Value", Value, 35, 128, "", TTag(44020));
  }
};

class TAttributeList : public TCurrentItemList<TAttribute> {};

}  // namespace qv

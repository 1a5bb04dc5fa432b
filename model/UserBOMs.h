// A part that the user entered by hand into the bill of materials.
#pragma once
#include <cstdint>
#include <string>

#include "model/Fields.h"
#include "model/OwnedList.h"

namespace qv {

class TRecordFile;

class TUserBOM {
public:
  static constexpr size_t RecordSize = 256;
  static constexpr size_t MinImageSize = RecordSize;

  TUserBOM() { Reset(); }
  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  // True only when the whole record was read.
  bool ReadRecord(TRecordFile& file);

  std::string ArticleCode, Description, PartType, Manufacturer, ItemNumber, Quantity, Setting40070;
  int32_t RecordValue1, RecordValue2;  // carried only by record images

  template <class V> void Describe(V& v) {
    v.Text("ArticleCode", ArticleCode, 0, 30, "", TTag(40010));
    v.Text("Description", Description, 31, 50, "", TTag(40020));
    v.Text("PartType", PartType, 82, 70, "", TTag(40030));
    v.Text("Manufacturer", Manufacturer, 153, 40, "", TTag(40040));
    v.Text("ItemNumber", ItemNumber, 194, 10, "", TTag(40050));
    v.Text("Quantity", Quantity, 205, 20, "", TTag(40060));
    v.Text("Setting40070", Setting40070, 226, 20, "", TTag(40070));
    v.Field("RecordValue1", RecordValue1, 248, 0);
    v.Field("RecordValue2", RecordValue2, 252, 0);
  }
};

class TUserBOMList : public TOwnedList<TUserBOM> {
public:
  bool ReadRecord(TRecordFile& file);
};

}  // namespace qv

// One column of the drilling-list table on a drawing.
#pragma once
#include <cstdint>
#include <string>

#include "model/Fields.h"
#include "model/OwnedList.h"

namespace qv {

class TRecordFile;

class TDrillingListDrawingColumn {
public:
  static constexpr size_t RecordSize = 36;
  static constexpr size_t MinImageSize = RecordSize;

  TDrillingListDrawingColumn() { Reset(); }
  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  // True only when the whole record was read.
  bool ReadRecord(TRecordFile& file);
  void Assign(const TDrillingListDrawingColumn& source) { *this = source; }

  uint8_t ColumnType;
  std::string Title;
  double Width;

  template <class V> void Describe(V& v) {
    v.Field("ColumnType", ColumnType, 0, uint8_t{0}, TTag(61310, TEnc::Integer));
    v.Text("Title", Title, 1, 25, "", TTag(61330));
    v.Field("Width", Width, 28, 15.0, TTag(61320));
  }
};

class TDrillingListDrawingColumnList : public TOwnedList<TDrillingListDrawingColumn> {
public:
  bool ReadRecord(TRecordFile& file);
  void Assign(const TDrillingListDrawingColumnList& source);
};

}  // namespace qv

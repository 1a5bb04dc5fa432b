// Wall thickness ranges of the calculation settings. Stored only.
#pragma once
#include "model/Fields.h"
#include "model/OwnedList.h"

namespace qv {

class TRecordFile;

class TWallThicknessRange {
public:
  static constexpr size_t RecordSize = 24;
  static constexpr size_t MinImageSize = RecordSize;

  TWallThicknessRange() { Reset(); }
  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  bool ReadRecord(TRecordFile& file);

  double Value12010, Value12020, Value12030;

  template <class V> void Describe(V& v) {
    v.Field("Value12010", Value12010, 0, 0.0, TTag(12010));
    v.Field("Value12020", Value12020, 8, 0.0, TTag(12020));
    v.Field("Value12030", Value12030, 16, 0.0, TTag(12030));
  }
};

class TWallThicknessRangeList : public TOwnedList<TWallThicknessRange> {
public:
  // Appends the ranges of the image to those already in the list.
  void ReadRecord(TRecordFile& file);
};

}  // namespace qv

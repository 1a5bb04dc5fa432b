// The outline drawn around a hole on its face: points in list order, the last joining the first.
// A hole with exactly one contour point draws a circle whose diameter is that point's X.
#pragma once
#include "model/Fields.h"
#include "model/OwnedList.h"

namespace qv {

class TRecordFile;

class TContour {
public:
  static constexpr size_t RecordSize = 16;
  static constexpr size_t MinImageSize = RecordSize;

  TContour() { Reset(); }
  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  bool ReadRecord(TRecordFile& file);

  double X;
  double Y;

  template <class V> void Describe(V& v) {
    v.Field("X", X, 0, 0.0, TTag(6011));
    v.Field("Y", Y, 8, 0.0, TTag(6012));
  }
};

class TContourList : public TOwnedList<TContour> {
public:
  void ReadRecord(TRecordFile& file);
};

}  // namespace qv

// Cross records of the manifold. Stored only.
#pragma once
#include <cstdint>

#include "geometry/XYPoints.h"
#include "model/Fields.h"
#include "model/OwnedList.h"
#include "model/PointFields.h"

namespace qv {

class TRecordFile;

class TCross {
public:
  static constexpr size_t RecordSize = 28;
  static constexpr size_t MinImageSize = RecordSize;

  TCross() { Reset(); }
  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  // True when the whole record was read.
  bool ReadRecord(TRecordFile& file);

  int32_t IntValue;
  double RealValue;
  TXYPoint Point;

  template <class V> void Describe(V& v) {
    v.Field("IntValue", IntValue, 0, 0, TTag(9410));
    v.Field("RealValue", RealValue, 4, 0.0, TTag(9420));
    TXYFields point{Point, 9430, 9440, -1.0};
    v.Struct("Point", point, 12);
  }
};

class TCrossList : public TOwnedList<TCross> {
public:
  // Appends the items of a list image; always true.
  bool ReadRecord(TRecordFile& file);
};

}  // namespace qv

// A point stored as two doubles, X then Y, described as one sub-record: the dump shows it as
// {"X": ..., "Y": ...} and each coordinate keeps its own tag.
#pragma once
#include <cstdint>

#include "geometry/XYPoints.h"
#include "model/Fields.h"

namespace qv {

struct TXYFields {
  TXYPoint& Point;
  uint16_t TagX = 0;
  uint16_t TagY = 0;
  double Default = 0.0;

  template <class V> void Describe(V& v) {
    v.Field("X", Point.X, 0, Default, TTag(TagX));
    v.Field("Y", Point.Y, 8, Default, TTag(TagY));
  }
};

}  // namespace qv

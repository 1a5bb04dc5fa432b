// Line segments in block coordinates: the working list into which a cut-out's outline is put for
// drawing. Never stored in files.
#pragma once
#include "geometry/XYZPoints.h"
#include "model/OwnedList.h"

namespace qv {

class TXYZLine {
public:
  TXYZPoint StartPoint;
  TXYZPoint EndPoint;
};

class TXYZLineList : public TOwnedList<TXYZLine> {
public:
  TXYZLine& AddLine(const TXYZPoint& start, const TXYZPoint& end) {
    TXYZLine& line = Add();
    line.StartPoint = start;
    line.EndPoint = end;
    return line;
  }
};

}  // namespace qv

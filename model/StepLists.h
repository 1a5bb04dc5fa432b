// The steps of a hole, from the innermost, narrowest (index 0) to the step at the face (the last).
#pragma once
#include "model/OwnedList.h"
#include "model/Steps.h"

namespace qv {

struct TThreadExtent {
  double EndDepth = 0.0;  // measured along the bore from the hole's start
  double Length = 0.0;
};

class TStepList : public TOwnedList<TStep> {
public:
  // A count of 0 or less gives one step with defaults: every hole has at least one step.
  void ReadRecord(TRecordFile& file);

  double ShoulderHeight(int i) const;
  double StartDepth(int i) const;
  double CylinderLength(int i) const;
  TThreadExtent ThreadExtent(int i, bool fromHoleStart) const;
  double MaxDiameter() const;
  bool Renumber();
};

}  // namespace qv

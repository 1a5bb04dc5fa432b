#include "model/StepLists.h"

#include <algorithm>

#include "model/RecordFile.h"

namespace qv {

void TStepList::ReadRecord(TRecordFile& file) {
  int32_t n = file.ReadCount(TStep::MinImageSize);
  if (n <= 0) {
    Add();
    return;
  }
  for (int32_t i = 0; i < n && file.ItemBegins(); ++i) Add().ReadRecord(file);
}

double TStepList::ShoulderHeight(int i) const {
  const TStep& s = Items(i);
  double h = PointFactor(s.PointAngle) * s.Diameter / 2.0;
  if (i >= 1) h -= PointFactor(s.PointAngle) * Items(i - 1).Diameter / 2.0;
  return h;
}

double TStepList::StartDepth(int i) const {
  if (i >= Count() - 1) return 0.0;
  const TStep& next = Items(i + 1);
  return next.Depth - PointFactor(next.PointAngle) * Items(i).Diameter / 2.0;
}

double TStepList::CylinderLength(int i) const {
  const TStep& s = Items(i);
  double full = s.Depth - s.ConeHeight();
  if (i >= Count() - 1) return full;
  const TStep& next = Items(i + 1);
  return PointFactor(next.PointAngle) * s.Diameter / 2.0 + (full - next.Depth);
}

TThreadExtent TStepList::ThreadExtent(int i, bool fromHoleStart) const {
  const TStep& s = Items(i);
  if (!s.Threaded()) return {};
  if (i >= Count() - 1) return {s.ThreadLength, s.ThreadLength};
  const TStep& next = Items(i + 1);
  double start = next.Depth - PointFactor(next.PointAngle) * s.ThreadDiameter / 2.0;
  if (fromHoleStart) return {s.ThreadLength, s.ThreadLength - start};
  return {start + s.ThreadLength, s.ThreadLength};
}

double TStepList::MaxDiameter() const {
  double m = 0.0;
  for (const auto& s : *this) m = std::max(m, s->OuterDiameter());
  return m;
}

bool TStepList::Renumber() {
  bool changed = false;
  for (int i = 0; i < Count(); ++i) {
    if (Items(i).Number != i + 1) changed = true;
    Items(i).Number = i + 1;
  }
  return changed;
}

}  // namespace qv

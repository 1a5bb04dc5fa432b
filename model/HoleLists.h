// The holes of the block, in file order.
#pragma once
#include "model/Holes.h"
#include "model/OwnedList.h"

namespace qv {

class THoleList : public TOwnedList<THole> {
public:
  void ReadRecord(TRecordFile& file);
  // Index of the first hole whose Number is `number`, or -1.
  int IndexOfNumber(int32_t number) const;
  // The largest PatternId plus 1 (0 for an empty list or when no hole is in a pattern).
  int32_t NextPatternId() const;
  // Puts dummy holes last (only with more than two holes) and numbers holes and steps from 1;
  // true when any number changed.
  bool Renumber();
};

}  // namespace qv

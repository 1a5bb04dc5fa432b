// The valves of a hole or of an alternative fitting, in file order.
#pragma once
#include "model/OwnedList.h"
#include "model/Valves.h"

namespace qv {

class TValveList : public TOwnedList<TValve> {
public:
  void ReadRecord(TRecordFile& file);
};

}  // namespace qv

// An alternative fitting of an assembly: a number and the valves it fits. Stored only.
#pragma once
#include <cstdint>

#include "model/Fields.h"
#include "model/OwnedList.h"
#include "model/ValveLists.h"

namespace qv {

class TAlternateValve {
public:
  static constexpr size_t RecordSize = 4;
  // The number and the count of its valve list.
  static constexpr size_t MinImageSize = RecordSize + 4;

  TAlternateValve() { Reset(); }
  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  void ReadRecord(TRecordFile& file);

  int32_t Setting9320;
  TValveList Valves;

  template <class V> void Describe(V& v) {
    v.Field("Setting9320", Setting9320, 0, 0, TTag(9320));
    v.Owned("Valves", Valves);
  }
};

class TAlternateValveList : public TOwnedList<TAlternateValve> {
public:
  void ReadRecord(TRecordFile& file);
};

}  // namespace qv

// The lists of the drawing layouts remember a current item for the design application's editors; it is
// -1 after every Clear. The viewer never selects one.
#pragma once
#include <cstdint>

#include "model/OwnedList.h"
#include "model/RecordFile.h"

namespace qv {

template <class T> class TCurrentItemList : public TOwnedList<T> {
public:
  void Clear() {
    TOwnedList<T>::Clear();
    Current = -1;
  }
  bool ReadRecord(TRecordFile& file) {
    ReadRecordList(*this, file);
    return true;
  }

  int32_t Current = -1;
};

}  // namespace qv

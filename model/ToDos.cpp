#include "model/ToDos.h"

#include "model/RecordFile.h"

namespace qv {

bool TToDo::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 4799, [&](const TRecordHeader& h) {
    if (h.Tag == 10000) {
      Holes.Add().ReadTagged(file);
      return true;
    }
    return ReadTaggedField(*this, file, h);
  });
  return true;
}

bool TToDo::ReadRecord(TRecordFile& file) {
  Lines.ReadRecord(file);
  Holes.ReadRecord(file);
  return true;
}

}  // namespace qv

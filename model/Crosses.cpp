#include "model/Crosses.h"

#include "model/FixedRecords.h"

namespace qv {

bool TCross::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 9499, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TCross::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

bool TCrossList::ReadRecord(TRecordFile& file) {
  ReadRecordList(*this, file);
  return true;
}

}  // namespace qv

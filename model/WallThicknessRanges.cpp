#include "model/WallThicknessRanges.h"

#include "model/FixedRecords.h"

namespace qv {

bool TWallThicknessRange::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 12999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TWallThicknessRange::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

void TWallThicknessRangeList::ReadRecord(TRecordFile& file) { ReadRecordList(*this, file); }

}  // namespace qv

#include "model/Contours.h"

#include "model/FixedRecords.h"

namespace qv {

bool TContour::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 6999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TContour::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

void TContourList::ReadRecord(TRecordFile& file) { ReadRecordList(*this, file); }

}  // namespace qv

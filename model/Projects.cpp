#include "model/Projects.h"

#include "model/DateTimes.h"
#include "model/FixedRecords.h"

namespace qv {

void TProject::Reset() {
  ResetFields(*this);
  CreatedOn = ModifiedOn = StatusDate = NowAsDateTime();
}

bool TProject::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 4999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TProject::ReadRecord(TRecordFile& file) {
  ReadFixedRecord(*this, file);
  Comments.ReadRecord(file);
  Variables.ReadRecord(file);
  return true;
}

}  // namespace qv

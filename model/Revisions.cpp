#include "model/Revisions.h"

#include <cmath>

#include "model/DateTimes.h"
#include "model/FixedRecords.h"

namespace qv {

void TRevision::Reset() {
  ResetFields(*this);
  // The design application takes today's date through its short date text, which has no time of day.
  Date = std::floor(NowAsDateTime());
}

bool TRevision::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 3999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TRevision::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

bool TRevisionList::ReadRecord(TRecordFile& file) {
  ReadRecordList(*this, file);
  return true;
}

}  // namespace qv

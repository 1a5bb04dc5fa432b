#include "model/Groups.h"

#include "model/FixedRecords.h"

namespace qv {

bool TGroup::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 5999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TGroup::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

}  // namespace qv

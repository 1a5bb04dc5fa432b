#include "model/Attributes.h"

#include "model/FixedRecords.h"

namespace qv {

bool TAttribute::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 44999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
  return true;
}

bool TAttribute::ReadRecord(TRecordFile& file) { return ReadFixedRecord(*this, file); }

}  // namespace qv
